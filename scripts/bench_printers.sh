#!/usr/bin/env bash
# Times the start of the printer selection against Wine's spooler with 10,
# 100 and 1000 registered printers (half of them with the panel's driver),
# and counts the spooler enumeration calls it makes. Uses its own build
# tree and Wine prefix (build/bench); not part of the test run.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build/bench

cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 --target bench_printers >/dev/null

source scripts/wine-env.sh
QV_OWN_DISPLAY=1 wine_env_start "$build"
trap wine_env_stop EXIT

key='HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Print\Printers'
regfile="$WINEPREFIX/drive_c/qv-bench.reg"

# Writes a .reg that removes the previous run's printers and adds count new ones.
write_reg() {
  local previous=$1 count=$2 i driver
  {
    printf 'REGEDIT4\r\n\r\n'
    for ((i = 0; i < previous; i++)); do
      printf '[-%s\\QV Bench %04d]\r\n\r\n' "$key" "$i"
    done
    for ((i = 0; i < count; i++)); do
      if ((i % 2 == 0)); then driver='Tav Kestrolinea 418KQ5'; else driver='Generic / Text Only'; fi
      printf '[%s\\QV Bench %04d]\r\n' "$key" "$i"
      printf '"Name"="QV Bench %04d"\r\n' "$i"
      printf '"Printer Driver"="%s"\r\n' "$driver"
      printf '"Port"="C:\\\\qv-bench\\\\job-%04d.bin"\r\n' "$i"
      printf '"Attributes"=dword:00000040\r\n"Status"=dword:00000000\r\n'
      printf '"Datatype"="RAW"\r\n"Print Processor"="winprint"\r\n\r\n'
    done
  } >"$regfile"
}

previous=0
for n in 10 100 1000; do
  write_reg "$previous" "$n"
  wine regedit /S 'C:\qv-bench.reg' >/dev/null 2>&1
  previous=$n
  echo "== $n registered printers ($((n / 2)) eligible)"
  wine "$build/tests/win/bench/bench_printers.exe" 2>/dev/null | tr -d '\r'
done

write_reg "$previous" 0
wine regedit /S 'C:\qv-bench.reg' >/dev/null 2>&1
rm -f "$regfile"
