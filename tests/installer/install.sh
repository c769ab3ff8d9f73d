#!/usr/bin/env bash
# The package under Wine, in a fresh prefix of its own: silent install, the
# installed panel, a rebuild and an upgrade replacing it, a refused
# downgrade, removal, and an install into another folder.
# Environment (set by CMake): QV_MSI, QV_MSI_NEXT, QV_MSI_REBUILD, QV_STAGE,
# QV_PROGRAMS, QV_VERSION, QV_NEXT_VERSION, QV_PREFIX, QV_SCRIPTS,
# QV_PROCESS_TEST. Uses $DISPLAY when set.
set -uo pipefail
source "$(dirname "$0")/expect.sh"
source "$QV_SCRIPTS/wine-env.sh"

rm -rf "$QV_PREFIX"
wine_display_start
wine_prefix_start "$QV_PREFIX"
trap wine_env_stop EXIT

drive_c=$WINEPREFIX/drive_c
product_name='Tav Kestrolinea 418KQ5 クオーヴェクス'
default_dir='C:\Program Files\Quorvex\418KQ5'
installed_files=(qvx4k5.chm PolicyDefinitions/qvx4k5.admx PolicyDefinitions/ja-JP/qvx4k5.adml
  PolicyDefinitions/en-US/qvx4k5.adml)
for program in $QV_PROGRAMS; do installed_files+=("$program.exe"); done

msiexec() { wine msiexec "$@" </dev/null >/dev/null 2>&1; }
windows_path() { winepath -w "$1" 2>/dev/null; }
unix_path() { winepath -u "$1" 2>/dev/null; }
# reg.exe writes in the console's code page.
reg_query() { wine reg query "$@" 2>/dev/null | tr -d '\r' | iconv -f CP932 -t UTF-8; }
property() { msiinfo export "$1" Property | tr -d '\r' | sed -n "s/^$2\t//p"; }

# Apps & Features entries of this publisher: "product code<TAB>version<TAB>name".
products() {
  reg_query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s | awk -F '    ' '
    function flush() { if (publisher == "Quorvex") print code "\t" version "\t" name }
    /^HKEY/ { flush(); code = $0; sub(/.*\\/, "", code); publisher = version = name = "" }
    $2 == "Publisher" { publisher = $4 }
    $2 == "DisplayVersion" { version = $4 }
    $2 == "DisplayName" { name = $4 }
    END { flush() }'
}

# Windows Installer's registry form of a GUID.
packed_guid() {
  local g=${1//[\{\}-]/} out="" i
  for ((i = 7; i >= 0; i--)); do out+=${g:i:1}; done
  for ((i = 11; i >= 8; i--)); do out+=${g:i:1}; done
  for ((i = 15; i >= 12; i--)); do out+=${g:i:1}; done
  for ((i = 16; i < 32; i += 2)); do out+=${g:i+1:1}${g:i:1}; done
  echo "$out"
}

# Start menu folders of the package. Windows puts a per-machine package's
# shortcuts into the common Start menu; Wine's msi into the user's.
menu_folders() { find "$drive_c" -type d -path '*/Start Menu/Programs/Quorvex 418KQ5' 2>/dev/null; }

# Files, shortcuts and Apps & Features entry of one installed version.
expect_installed() {
  local version=$1 msi=$2 dir=$3 dir_unix folder code file icon
  dir_unix=$(unix_path "$dir")
  for file in "${installed_files[@]}"; do
    cmp -s "$dir_unix/$file" "$QV_STAGE/$file"
    expect "$version: $file installed as built" "$?" "0"
  done
  folder=$(menu_folders)
  expect "$version: one Start menu folder" "$(grep -c . <<<"$folder")" "1"
  expect "$version: shortcuts" "$(cd "$folder" 2>/dev/null && ls | tr '\n' '|')" \
    "Quorvex 418KQ5 マニュアル.lnk|Quorvex 418KQ5 設定パネル.lnk|"
  strings -a "$folder/Quorvex 418KQ5 設定パネル.lnk" | grep -qxF "$dir\\qvx4k5.exe"
  expect "$version: panel shortcut target" "$?" "0"
  strings -a "$folder/Quorvex 418KQ5 マニュアル.lnk" | grep -qxF "$dir\\qvx4k5.chm"
  expect "$version: manual shortcut target" "$?" "0"

  code=$(property "$msi" ProductCode)
  expect "$version: one Apps & Features entry" "$(products)" "$code	$version	$product_name"
  icon=$(reg_query "HKLM\\Software\\Classes\\Installer\\Products\\$(packed_guid "$code")" /v ProductIcon |
    sed -n 's/^    ProductIcon    REG_SZ    //p')
  cmp -s "$(unix_path "$icon")" "$QV_STAGE/qvx4k5.ico"
  expect "$version: Apps & Features icon" "$?" "0"
}

# Everything below drive C and HKLM\Software, to compare before and after;
# without Windows Installer's own stores, which the first install creates.
installer_stores="$drive_c/windows/Installer
HKEY_LOCAL_MACHINE\Software\Classes\Installer
HKEY_LOCAL_MACHINE\Software\Classes\Installer\Features
HKEY_LOCAL_MACHINE\Software\Classes\Installer\Products
HKEY_LOCAL_MACHINE\Software\Classes\Installer\UpgradeCodes
HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Installer\UpgradeCodes
HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Installer\UserData
HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Installer\UserData\S-1-5-18
HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Installer\UserData\S-1-5-18\Components
HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Installer\UserData\S-1-5-18\Products"
snapshot() {
  { find "$drive_c"; reg_query 'HKLM\Software' /s | grep '^HKEY'; } | grep -vxF "$installer_stores" | sort
}

msi=$(windows_path "$QV_MSI")
next=$(windows_path "$QV_MSI_NEXT")
rebuild=$(windows_path "$QV_MSI_REBUILD")
before=$(snapshot)

echo "== silent install of $QV_VERSION"
msiexec /i "$msi" /qn
expect "install: exit code" "$?" "0"
expect_installed "$QV_VERSION" "$QV_MSI" "$default_dir"

output=$(QV_EXE="$default_dir\\qvx4k5.exe" wine "$QV_PROCESS_TEST" \
  --gtest_filter=ProcessTest.StartsWithItsWindowFoundByClassAndTitleAndLeavesOnExit 2>&1)
expect "the installed panel starts with one printer and ends" "$(grep -c '^\[  PASSED  \] 1 test' <<<"$output")" "1" ||
  echo "$output"
if [[ " $QV_PROGRAMS " == *" qvx4k5cmd "* ]]; then
  wine "$default_dir\\qvx4k5cmd.exe" --help >/dev/null 2>&1
  expect "the installed console tool runs" "$?" "0"
fi

echo "== the same version, rebuilt"
msiexec /i "$rebuild" /qn
expect "rebuild: exit code" "$?" "0"
expect_installed "$QV_VERSION" "$QV_MSI_REBUILD" "$default_dir"

echo "== upgrade to $QV_NEXT_VERSION"
msiexec /i "$next" /qn
expect "upgrade: exit code" "$?" "0"
expect_installed "$QV_NEXT_VERSION" "$QV_MSI_NEXT" "$default_dir"

echo "== downgrade to $QV_VERSION"
msiexec /i "$msi" /qn
# 1603, the failed install, as Linux sees it.
expect "downgrade: refused" "$?" "$((1603 & 255))"
expect_installed "$QV_NEXT_VERSION" "$QV_MSI_NEXT" "$default_dir"

echo "== silent removal"
msiexec /x "$next" /qn
expect "removal: exit code" "$?" "0"
expect "removal: no Apps & Features entry" "$(products)" ""
# Wine's msi leaves the vendor folder empty, Windows does not; rmdir fails unless empty.
rmdir "$drive_c/Program Files/Quorvex" 2>/dev/null
expect "removal: no folder" "$(ls "$drive_c/Program Files" | grep -c Quorvex)" "0"
expect "removal: no Start menu folder" "$(menu_folders)" ""
expect "removal: nothing else left" "$(diff <(echo "$before") <(snapshot))" ""

echo "== install into another folder"
other='C:\QV Tools\418KQ5'
msiexec /i "$msi" /qn "INSTALLDIR=$other"
expect "other folder: exit code" "$?" "0"
expect_installed "$QV_VERSION" "$QV_MSI" "$other"
expect "other folder: nothing in Program Files" "$(ls "$drive_c/Program Files" | grep -c Quorvex)" "0"
msiexec /i "$next" /qn
expect "other folder: upgrade exit code" "$?" "0"
expect_installed "$QV_NEXT_VERSION" "$QV_MSI_NEXT" "$other"
msiexec /x "$next" /qn
expect "other folder: removal exit code" "$?" "0"
[ -e "$(unix_path "$other")" ]
expect "other folder: removed" "$?" "1"
expect "other folder: no Start menu folder" "$(menu_folders)" ""

expect_done
