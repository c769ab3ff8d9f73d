#!/usr/bin/env bash
# Release programs are stripped, no bigger than their limit, and import only
# DLLs that Windows maps from its system folder whatever lies beside the program.
#   check-programs.sh OBJDUMP PROGRAM=MAX_BYTES...
set -uo pipefail
source "$(dirname "$0")/expect.sh"
objdump=$1
shift

# The Known DLLs of Windows 7 and 10/11. Load any other library with LoadSystemLibrary.
windows_dlls=(advapi32.dll clbcatq.dll comdlg32.dll difxapi.dll gdi32.dll imagehlp.dll imm32.dll kernel32.dll
  msctf.dll msvcrt.dll normaliz.dll nsi.dll ole32.dll oleaut32.dll psapi.dll rpcrt4.dll sechost.dll setupapi.dll
  shell32.dll shlwapi.dll user32.dll wldap32.dll ws2_32.dll)
is_windows_dll() {
  local dll
  for dll in "${windows_dlls[@]}"; do [ "$dll" = "$1" ] && return 0; done
  # comctl32 comes from the side-by-side store for a manifest naming Common Controls 6.
  [ "$1" = comctl32.dll ] && grep -qaF 'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' "$2"
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
  for dll in $dlls; do is_windows_dll "$dll" "$program" || foreign+=("$dll"); done
  expect "$name: imports only Windows DLLs" "${foreign[*]}" ""
done

expect_done
