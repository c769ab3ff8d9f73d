#!/usr/bin/env bash
# Builds the libFuzzer target with clang into build/fuzz and runs it for a
# bounded time (FUZZ_SECONDS, default 30). Exits non-zero when libFuzzer
# reports a crash, a sanitizer finding or a failed check.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/fuzz"
seconds=${FUZZ_SECONDS:-30}

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQV_FUZZ=ON >/dev/null
cmake --build "$build" -j2 --target fuzz_settings fuzz_seeds

corpus="$build/corpus"
mkdir -p "$corpus" "$build/artifacts"
"$build/tests/fuzz/fuzz_seeds" "$corpus"

log="$build/fuzz.log"
status=0
"$build/tests/fuzz/fuzz_settings" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$build/artifacts/" "$corpus" >"$log" 2>&1 || status=$?

grep -E '^Done [0-9]+ runs' "$log" || true
grep -E '^stat::number_of_executed_units' "$log" || true
if [ "$status" -ne 0 ] || ! grep -qE '^Done [0-9]+ runs' "$log"; then
    tail -n 40 "$log" >&2
    echo "fuzz: failed (libFuzzer exit $status); log in $log, inputs in $build/artifacts" >&2
    exit 1
fi
echo "fuzz: no failure in ${seconds}s"
