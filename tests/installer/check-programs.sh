#!/usr/bin/env bash
# Release programs are stripped, no bigger than their limit, and import only
# DLLs that come with Windows.
#   check-programs.sh OBJDUMP PROGRAM=MAX_BYTES...
set -uo pipefail
source "$(dirname "$0")/expect.sh"
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

for entry in "$@"; do
  program=${entry%=*}
  limit=${entry##*=}
  name=$(basename "$program")
  headers=$("$objdump" -p "$program")
  expect "$name: readable" "$?" "0" || continue

  size=$(stat -c %s "$program")
  echo "     $name: $size bytes"
  expect "$name: at most $limit bytes" "$((size <= limit))" "1"
  expect "$name: stripped" "$(grep -c "symbols stripped" <<<"$headers")" "1"

  dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr '[:upper:]' '[:lower:]')
  echo "     $name: imports" $dlls
  foreign=()
  for dll in $dlls; do is_windows_dll "$dll" || foreign+=("$dll"); done
  expect "$name: imports only Windows DLLs" "${foreign[*]}" ""
done

expect_done
