#!/usr/bin/env bash
# The package's tables and the zip's contents, read without installing.
# Environment (set by CMake): QV_MSI, QV_MSI_NEXT, QV_ZIP, QV_STAGE,
# QV_PROGRAMS (names without .exe), QV_VERSION, QV_NEXT_VERSION,
# QV_VERSION_TEXT, QV_CMAKE.
set -uo pipefail
source "$(dirname "$0")/expect.sh"

upgrade_code='{70BDFF3E-F3FF-4003-8E0E-49B1FFFA62B7}'
product_name='Tav Kestrolinea 418KQ5 クオーヴェクス'

# Rows of a table, without the three header lines.
rows() { msiinfo export "$1" "$2" | tr -d '\r' | tail -n +4; }
property() { rows "$1" Property | sed -n "s/^$2\t//p"; }
# One field of the first row whose first field is KEY.
field() { rows "$1" "$2" | awk -F'\t' -v key="$3" -v n="$4" '$1 == key { print $n; exit }'; }

# The code page property (id 1) of the summary information stream.
summary_codepage() {
  local stream section count i id offset
  stream=$(mktemp)
  msiinfo extract "$1" $'\005SummaryInformation' >"$stream"
  section=$(od -An -t u4 -j 44 -N 4 "$stream" | tr -d ' ')
  count=$(od -An -t u4 -j $((section + 4)) -N 4 "$stream" | tr -d ' ')
  for ((i = 0; i < count; i++)); do
    read -r id offset < <(od -An -t u4 -j $((section + 8 + 8 * i)) -N 8 "$stream")
    if [ "$id" = 1 ]; then
      od -An -t u2 -j $((section + offset + 4)) -N 2 "$stream" | tr -d ' '
      break
    fi
  done
  rm -f "$stream"
}

# FILEVERSION of a program's version resource, as major.minor.patch.
file_version() {
  local at minor major patch
  at=$(LC_ALL=C grep -obUaP '\xbd\x04\xef\xfe' "$1" | head -1 | cut -d: -f1)
  [ -n "$at" ] || return
  read -r minor major _ patch < <(od -An -t u2 -j $((at + 8)) -N 8 "$1")
  echo "$major.$minor.$patch"
}

echo "== the panel's version, as the package's"
panel=$QV_STAGE/qvx4k5.exe
expect "file version" "$(file_version "$panel")" "$QV_VERSION"
expect "About box and version texts" "$(strings -el "$panel" | grep -cx -e "Version $QV_VERSION_TEXT" -e "$QV_VERSION_TEXT")" "3"

echo "== package $QV_MSI"
msi=$QV_MSI
expect "product name" "$(property "$msi" ProductName)" "$product_name"
expect "manufacturer" "$(property "$msi" Manufacturer)" "Quorvex"
expect "product version" "$(property "$msi" ProductVersion)" "$QV_VERSION"
expect "product language" "$(property "$msi" ProductLanguage)" "1041"
expect "upgrade code" "$(property "$msi" UpgradeCode)" "$upgrade_code"
expect "per-machine" "$(property "$msi" ALLUSERS)" "1"
expect "Apps & Features icon" "$(property "$msi" ARPPRODUCTICON)" "qvx4k5.ico"
expect "icon stored" "$(rows "$msi" Icon | cut -f1)" "qvx4k5.ico"
expect "database code page" "$(msiinfo export "$msi" _ForceCodepage | tr -d '\r' | sed -n 's/\t_ForceCodepage$//p')" "932"
expect "summary code page" "$(summary_codepage "$msi")" "932"
expect "summary template" "$(msiinfo suminfo "$msi" | sed -n 's/^Template: //p')" "x64;1041"
expect "summary subject in code page 932" \
  "$(msiinfo suminfo "$msi" | sed -n 's/^Subject: //p' | iconv -f CP932 -t UTF-8)" "$product_name"

expect "install folder" "$(field "$msi" Directory INSTALLDIR 2)/$(field "$msi" Directory INSTALLDIR 3)" "QuorvexFolder/418KQ5"
expect "vendor folder" "$(field "$msi" Directory QuorvexFolder 2)/$(field "$msi" Directory QuorvexFolder 3)" \
  "ProgramFiles64Folder/Quorvex"
files=(qvx4k5.chm)
for program in $QV_PROGRAMS; do files+=("$program.exe"); done
# The Group Policy templates: "file id:folder id:path in the stage".
policy=(qvx4k5.admx:PolicyDir:PolicyDefinitions/qvx4k5.admx
  qvx4k5.adml.ja:PolicyDirJa:PolicyDefinitions/ja-JP/qvx4k5.adml
  qvx4k5.adml.en:PolicyDirEn:PolicyDefinitions/en-US/qvx4k5.adml)
placed=()
for file in "${files[@]}"; do placed+=("$file:INSTALLDIR:$file"); done
expect "files" "$(rows "$msi" File | cut -f3 | sed 's/.*|//' | sort | tr '\n' ' ')" \
  "$(printf '%s\n' "${files[@]}" qvx4k5.admx qvx4k5.adml qvx4k5.adml | sort | tr '\n' ' ')"
for entry in "${placed[@]}" "${policy[@]}"; do
  IFS=: read -r file folder path <<<"$entry"
  expect "$file: size" "$(field "$msi" File "$file" 4)" "$(stat -c %s "$QV_STAGE/$path")"
  component=$(field "$msi" File "$file" 2)
  expect "$file: folder" "$(field "$msi" Component "$component" 3)" "$folder"
  expect "$file: 64-bit component" "$(($(field "$msi" Component "$component" 4) & 256))" "256"
done
# The one registry value: the install folder, read back by later runs.
expect "registry values written" "$(rows "$msi" Registry | cut -f2-5)" \
  "2	Software\Quorvex\418KQ5	InstallDir	[INSTALLDIR]"
expect "install folder read back" "$(rows "$msi" AppSearch | cut -f1)|$(rows "$msi" RegLocator | cut -f2-5)" \
  "INSTALLDIR|2	Software\Quorvex\418KQ5	InstallDir	18"

expect "install folder: its own permissions, SYSTEM and Administrators full, Users read and run" "$(rows "$msi" CreateFolder | grep -P '^INSTALLDIR\t' | cut -f2)|$(rows "$msi" MsiLockPermissionsEx | cut -f2-)" \
  "Panel|INSTALLDIR	CreateFolder	D:PAI(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)	"

expect "panel shortcut" \
  "$(rows "$msi" Shortcut | awk -F'\t' '$1 == "PanelShortcut" { print $2 "|" $3 "|" $5 }')" \
  "ProgramMenuDir|Quorvex 418KQ5 設定パネル|[INSTALLDIR]qvx4k5.exe"
expect "manual shortcut" \
  "$(rows "$msi" Shortcut | awk -F'\t' '$1 == "ManualShortcut" { print $2 "|" $3 "|" $5 }')" \
  "ProgramMenuDir|Quorvex 418KQ5 マニュアル|[INSTALLDIR]qvx4k5.chm"
expect "start menu folder" "$(field "$msi" Directory ProgramMenuDir 2)/$(field "$msi" Directory ProgramMenuDir 3)" \
  "ProgramMenuFolder/Quorvex 418KQ5"
removed_on_uninstall() { rows "$msi" RemoveFile | awk -F'\t' -v d="$1" '$4 == d { print $5 }'; }
expect "start menu folder removed on uninstall" "$(removed_on_uninstall ProgramMenuDir)" "2"
expect "vendor folder removed on uninstall" "$(removed_on_uninstall QuorvexFolder)" "2"

# Upgrade: every version up to this one is replaced (the same one too);
# a newer one is only detected, and then refused with a message.
upgrade_row() { rows "$1" Upgrade | awk -F'\t' -v p="$2" '$7 == p { print $1 "|" $2 "|" $3 "|" $5 }'; }
expect "replaces up to this version" "$(upgrade_row "$msi" WIX_UPGRADE_DETECTED)" "$upgrade_code|0.0.0|$QV_VERSION|768"
expect "detects newer versions" "$(upgrade_row "$msi" WIX_DOWNGRADE_DETECTED)" "$upgrade_code|$QV_VERSION||2"
expect "refuses a downgrade" "$(rows "$msi" LaunchCondition | cut -f1)" "NOT WIX_DOWNGRADE_DETECTED"
expect "downgrade message" "$(rows "$msi" LaunchCondition | cut -f2)" \
  "より新しいバージョンの [ProductName] が既にインストールされています。このバージョンをインストールするには、先に新しいバージョンを削除してください。"
sequence() { rows "$msi" InstallExecuteSequence | awk -F'\t' -v a="$1" '$1 == a { print $3 }'; }
expect "old version removed after validation" \
  "$(($(sequence InstallValidate) < $(sequence RemoveExistingProducts) && $(sequence RemoveExistingProducts) < $(sequence InstallInitialize)))" "1"

echo "== package $QV_MSI_NEXT"
expect "next: product version" "$(property "$QV_MSI_NEXT" ProductVersion)" "$QV_NEXT_VERSION"
expect "next: upgrade code" "$(property "$QV_MSI_NEXT" UpgradeCode)" "$upgrade_code"
[ "$(property "$QV_MSI_NEXT" ProductCode)" != "$(property "$msi" ProductCode)" ]
expect "next: a product code of its own" "$?" "0"

echo "== zip $QV_ZIP"
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
(cd "$unpacked" && "$QV_CMAKE" -E tar xf "$QV_ZIP")
expect "zip contents" "$(cd "$unpacked" && find . -type f | sed 's|^\./||' | sort | tr '\n' ' ')" \
  "$(printf '%s\n' "${files[@]}" README.txt "${policy[@]##*:}" | sort | tr '\n' ' ')"
for file in "${files[@]}" README.txt "${policy[@]##*:}"; do
  cmp -s "$unpacked/$file" "$QV_STAGE/$file"
  expect "zip: $file as built" "$?" "0"
done
readme=$unpacked/README.txt
expect "README: every line ends with CR LF" "$(grep -c $'\r$' "$readme")" "$(wc -l <"$readme")"
text=$(iconv -f CP932 -t UTF-8 "$readme" | tr -d '\r')
expect "README: code page 932" "$?" "0"
expect "README: version" "$(head -1 <<<"$text")" "$product_name  Version $QV_VERSION_TEXT"
expect "README: names the package" "$(grep -c "qvx4k5-$QV_VERSION-x64.msi" <<<"$text")" "1"

expect_done
