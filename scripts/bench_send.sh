#!/usr/bin/env bash
# Times `qvx4k5cmd send` to many targets at once against one at a time:
#   tcp   200 raw TCP printers on the loopback, 20 of which take the job and
#         never close the connection; --timeout 3, --jobs 16 and --jobs 1
#         (native build in build/bench-send).
#   wine  1000 spooler queues registered in Wine, --all --jobs 8 and
#         --jobs 1 (MinGW build and Wine prefix in build/bench).
# Both by default; name one to run only it. Not part of the test run.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
parts=${*:-tcp wine}
work=$(mktemp -d)
listener=""
cleanup() {
  [ -n "$listener" ] && kill "$listener" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# Seconds a command takes, and its exit code: "12.34 5".
timed() {
  local start end code=0
  start=$(date +%s.%N)
  "$@" >"$work/out.txt" 2>"$work/err.txt" || code=$?
  end=$(date +%s.%N)
  printf '%.2f %d\n' "$(echo "$end - $start" | bc)" "$code"
}

bench_tcp() {
  local build=$root/build/bench-send hosts=200 silent=20 timeout=3
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release ${QV_CMAKE_LAUNCHER:-} >/dev/null
  cmake --build "$build" -j2 --target qvx4k5cmd >/dev/null
  local tool=$build/cli/qvx4k5cmd
  "$tool" factory -o "$work/standard.dat" >/dev/null

  # One process listens on every port; every tenth printer keeps the
  # connection after reading the job. It writes the host list when ready.
  python3 - "$work/hosts.txt" "$hosts" "$silent" 2>/dev/null <<'PY' &
import asyncio, os, sys

path, count, silent = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
every = count // silent
held = []  # asyncio keeps its tasks only weakly: a held connection needs a reference

async def serve(reader, writer, holds):
    while await reader.read(65536):
        pass
    if holds:
        held.append(writer)
    else:
        writer.close()

async def main():
    lines = []
    for i in range(count):
        holds = i % every == every - 1
        server = await asyncio.start_server(lambda r, w, h=holds: serve(r, w, h), "127.0.0.1", 0)
        lines.append("127.0.0.1:%d\n" % server.sockets[0].getsockname()[1])
    with open(path + ".part", "w") as f:
        f.write("# %d loopback printers, every %dth never closes\n" % (count, every))
        f.writelines(lines)
    os.rename(path + ".part", path)
    await asyncio.Event().wait()

asyncio.run(main())
PY
  listener=$!
  for _ in $(seq 1 100); do [ -f "$work/hosts.txt" ] && break; sleep 0.1; done

  echo "== $hosts raw TCP printers on the loopback, $silent never close (--timeout $timeout)"
  local jobs result
  for jobs in 16 1; do
    result=$(timed "$tool" send "$work/standard.dat" --hosts "$work/hosts.txt" --timeout "$timeout" --jobs "$jobs")
    printf -- '--jobs %-3s %7s s  exit %s  %s\n' "$jobs" ${result} "$(tail -n 1 "$work/out.txt")"
  done
  echo "goal with --jobs 16: under $((2 * timeout + 2)) s"
  kill "$listener" 2>/dev/null || true
  listener=""
}

bench_wine() {
  local build=$root/build/bench count=1000
  cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
    ${QV_CMAKE_LAUNCHER:-} >/dev/null
  cmake --build "$build" -j2 --target qvx4k5cmd >/dev/null
  source scripts/wine-env.sh
  QV_OWN_DISPLAY=1 wine_env_start "$build"

  local key='HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Print\Printers'
  local regfile="$WINEPREFIX/drive_c/qv-bench-send.reg" jobs="$WINEPREFIX/drive_c/qv-bench-send"
  # A .reg that adds (or with "-" removes) the queues, each with a file port.
  write_reg() {
    local remove=$1 i
    {
      printf 'REGEDIT4\r\n\r\n'
      for ((i = 0; i < count; i++)); do
        if [ "$remove" = 1 ]; then
          printf '[-%s\\QV Send %04d]\r\n\r\n' "$key" "$i"
          continue
        fi
        printf '[%s\\QV Send %04d]\r\n"Name"="QV Send %04d"\r\n' "$key" "$i" "$i"
        printf '"Printer Driver"="Tav Kestrolinea 418KQ5"\r\n'
        printf '"Port"="C:\\\\qv-bench-send\\\\job-%04d.bin"\r\n' "$i"
        printf '"Attributes"=dword:00000040\r\n"Status"=dword:00000000\r\n'
        printf '"Datatype"="RAW"\r\n"Print Processor"="winprint"\r\n\r\n'
      done
    } >"$regfile"
    wine regedit /S 'C:\qv-bench-send.reg' >/dev/null 2>&1
  }
  mkdir -p "$jobs"
  write_reg 0
  local tool=$build/app/qvx4k5cmd.exe
  wine "$tool" factory -o 'C:\qv-bench-send\standard.dat' >/dev/null 2>&1

  echo "== $count spooler queues under Wine (--all)"
  local n result
  for n in 8 1; do
    rm -f "$jobs"/job-*.bin
    result=$(timed wine "$tool" --utf8 send 'C:\qv-bench-send\standard.dat' --all --jobs "$n")
    printf -- '--jobs %-3s %7s s  exit %s  %s job files  %s\n' "$n" ${result} \
      "$(find "$jobs" -name 'job-*.bin' -size 270c | wc -l)" "$(tail -n 1 "$work/out.txt" | tr -d '\r')"
  done
  write_reg 1
  rm -rf "$regfile" "$jobs"
  wine_env_stop
}

for part in $parts; do
  case $part in
  tcp) bench_tcp ;;
  wine) bench_wine ;;
  *) echo "unknown part: $part (tcp, wine)" >&2 && exit 2 ;;
  esac
done
