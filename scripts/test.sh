#!/usr/bin/env bash
# Installs what is missing, builds the native and the Windows trees, and
# runs every suite: native, sanitizers, fuzzing, and the Windows suites
# under Wine. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=$(nproc)

bash scripts/setup.sh

echo "== native"
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/native -j"$jobs"
(cd build/native && ctest --output-on-failure -j"$jobs")

echo "== native with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all" >/dev/null
cmake --build build/asan -j"$jobs"
(cd build/asan && ctest --output-on-failure -j"$jobs")

echo "== fuzzing"
bash scripts/fuzz.sh

echo "== windows"
cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win -j"$jobs"

source scripts/wine-env.sh
QV_OWN_DISPLAY=1 wine_env_start "$root/build/win"
trap wine_env_stop EXIT
(cd build/win && ctest --output-on-failure --timeout 600)
