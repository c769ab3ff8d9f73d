#!/usr/bin/env bash
# Times the panel's start against a program that only creates the panel's
# own dialog templates (the main window and its six pages), and against an
# empty dialog: each started RUNS times (default 9) in turns under one Wine,
# with one printer of the panel's driver registered. Prints every time, the
# medians and their ratios to the template-only program. To see where the
# panel's own time goes, run the panel with WINEDEBUG=+timestamp,+relay.
# Uses its own build tree and Wine prefix (build/bench); not part of the
# test run.
#
# Usage: scripts/bench_startup.sh [RUNS] [OTHER_QVX4K5_EXE]
# OTHER_QVX4K5_EXE, a panel built from another commit, is timed in the same
# turns as "baseline", so a change is measured side by side with its base.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build/bench
runs=${1:-9}
baseline=${2:-}

cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 --target qvx4k5 bench_templates bench_startup >"$build/bench-build.log" 2>&1 ||
  { cat "$build/bench-build.log"; exit 1; }

source scripts/wine-env.sh
QV_OWN_DISPLAY=1 wine_env_start "$build"
trap wine_env_stop EXIT

# One printer, so the panel takes it without asking.
regfile="$WINEPREFIX/drive_c/qv-startup.reg"
cat >"$regfile" <<'REG'
REGEDIT4

[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Print\Printers\QV Startup]
"Name"="QV Startup"
"Printer Driver"="Tav Kestrolinea 418KQ5"
"Port"="C:\\qv-startup.bin"
"Attributes"=dword:00000040
"Status"=dword:00000000
"Datatype"="RAW"
"Print Processor"="winprint"
REG
wine regedit /S 'C:\qv-startup.reg' >/dev/null 2>&1
# Removed again whatever happens: the prefix is shared with bench_printers.sh.
trap 'printf "REGEDIT4\r\n\r\n[-HKEY_LOCAL_MACHINE\\\\System\\\\CurrentControlSet\\\\Control\\\\Print\\\\Printers\\\\QV Startup]\r\n" >"$regfile";
      wine regedit /S "C:\\qv-startup.reg" >/dev/null 2>&1; rm -f "$regfile"; wine_env_stop' EXIT

templates=$(winepath -w "$build/tests/win/bench/bench_templates.exe")
panel=$(winepath -w "$build/app/qvx4k5.exe")
echo "== start-up until the main window is shown and idle, ms ($runs runs each)"
programs=("templates=\"$templates\"" "panel=\"$panel\"" "minimal=\"$templates\" minimal")
if [ -n "$baseline" ]; then
  # A copy, so the run holds nothing in the other tree.
  mkdir -p "$build/baseline"
  cp "$baseline" "$build/baseline/qvx4k5.exe"
  programs+=("baseline=\"$(winepath -w "$build/baseline/qvx4k5.exe")\"")
fi
wine "$build/tests/win/bench/bench_startup.exe" "$runs" "${programs[@]}" 2>&1 | tr -d '\r'

