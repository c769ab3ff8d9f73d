#!/usr/bin/env bash
# Installs what is missing, builds the Windows program and starts it under
# Wine with a demo printer whose port is a file, so a send can be seen.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash scripts/setup.sh
cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/win -j"$(nproc)" --target qvx4k5

source scripts/wine-env.sh
# Its own prefix: the demo printer must not reach the test prefix.
wine_env_start "$root/build/run"
trap wine_env_stop EXIT

jobdir="$root/build/run/demo-printer"
mkdir -p "$jobdir"
cat >"$jobdir/printer.reg" <<REG
REGEDIT4

[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Print\\Printers\\KQ Demo]
"Name"="KQ Demo"
"Printer Driver"="Tav Kestrolinea 418KQ5"
"Port"="$jobdir/job.bin"
"Attributes"=dword:00000040
"Status"=dword:00000000
"Datatype"="RAW"
"Print Processor"="winprint"
REG
wine regedit /S "$jobdir/printer.reg"

echo "run: starting qvx4k5.exe on display $DISPLAY; a send lands in $jobdir/job.bin"
wine "$root/build/win/app/qvx4k5.exe"
