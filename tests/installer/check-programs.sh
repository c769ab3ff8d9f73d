#!/usr/bin/env bash
# Release programs are stripped, no bigger than their limit, and import only
# DLLs that come with Windows.
#   check-programs.sh OBJDUMP PROGRAM=MAX_BYTES...
set -uo pipefail
objdump=$1
shift

windows_dlls=(advapi32.dll bcrypt.dll comctl32.dll comdlg32.dll crypt32.dll gdi32.dll hhctrl.ocx
  imm32.dll iphlpapi.dll kernel32.dll msvcrt.dll ntdll.dll ole32.dll oleaut32.dll rpcrt4.dll
  secur32.dll shell32.dll shlwapi.dll user32.dll uxtheme.dll version.dll winmm.dll winspool.drv
  ws2_32.dll)
is_windows_dll() {
  local dll
  for dll in "${windows_dlls[@]}"; do [ "$dll" = "$1" ] && return 0; done
  return 1
}

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

for entry in "$@"; do
  program=${entry%=*}
  limit=${entry##*=}
  name=$(basename "$program")
  [ -f "$program" ] || { fail "$name: missing"; continue; }
  headers=$("$objdump" -p "$program") || { fail "$name: objdump failed"; continue; }

  size=$(stat -c %s "$program")
  echo "$name: $size bytes (at most $limit)"
  [ "$size" -le "$limit" ] || fail "$name: $size bytes, more than $limit"

  grep -q "symbols stripped" <<<"$headers" || fail "$name: not stripped"

  dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr '[:upper:]' '[:lower:]')
  [ -n "$dlls" ] || fail "$name: no imports found"
  for dll in $dlls; do
    is_windows_dll "$dll" || fail "$name: imports $dll, which Windows does not have"
  done
  echo "$name: imports" $dlls
done

[ "$failures" -eq 0 ]
