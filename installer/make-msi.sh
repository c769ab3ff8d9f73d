#!/usr/bin/env bash
# Builds the Windows Installer package with wixl, then mends what wixl 0.101
# gets wrong for a Japanese package.
#   make-msi.sh WXS STAGE_DIR VERSION OUTPUT [wixl -D options...]
# STAGE_DIR holds the files the package carries, under the names the WiX
# source gives them.
set -euo pipefail
wxs=$(realpath "$1")
stage=$2
version=$3
output=$(realpath -m "$4")
shift 4
mkdir -p "$(dirname "$output")"

# Both tools convert the texts with the code page of the Windows language
# they guess from the locale; on any other than Japanese they drop the
# Japanese texts or crash.
export WINDOWS_LANGUAGE=ja

# Built beside the target and moved over it when complete, so a failed
# build never leaves a package that looks up to date.
work=$(mktemp -d "$(dirname "$output")/.make-msi.XXXXXX")
trap 'rm -rf "$work"' EXIT
package=$work/package.msi

# wixl finds the files relative to the working folder only.
cd "$stage"
wixl -a x64 -o "$package" -D Version="$version" "$@" "$wxs"

# The package's code page (the string pool's): wixl leaves it at 0, the
# code page of whatever Windows runs the package.
printf '\r\n\r\n932\t_ForceCodepage\r\n' >"$work/_ForceCodepage.idt"

property() { msiinfo export "$package" Property | sed -n "s/^$1\t//p" | tr -d '\r'; }

# wixl ignores IncludeMaximum: an installed package of the same version
# would stay beside the new one instead of being replaced. Attributes is
# part of the key, so the row is replaced.
row=$(msiinfo export "$package" Upgrade | tr -d '\r' | grep 'WIX_UPGRADE_DETECTED$')
field() { cut -f"$1" <<<"$row"; }
q='`'
upgrade_delete="DELETE FROM ${q}Upgrade${q} WHERE ${q}ActionProperty${q} = 'WIX_UPGRADE_DETECTED'"
upgrade_insert="INSERT INTO ${q}Upgrade${q} (${q}UpgradeCode${q}, ${q}VersionMin${q}, ${q}VersionMax${q}, ${q}Attributes${q}, ${q}ActionProperty${q}) VALUES ('$(field 1)', '$(field 2)', '$(field 3)', $(($(field 5) | 512)), 'WIX_UPGRADE_DETECTED')"

# The install folder gets permissions of its own, not its parent's: under
# Program Files that changes nothing, but a folder chosen with INSTALLDIR
# (D:\Tools) would otherwise let any user replace the programs. SYSTEM and
# Administrators may change it, Users only read and run it. SIDs in SDDL,
# not the LockPermissions table's account names: of those, only Everyone
# and Administrators are taken in English on a Windows of any language.
install_folder_sddl='D:PAI(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)'
printf 'MsiLockPermissionsEx\tLockObject\tTable\tSDDLText\tCondition\r\ns72\ts72\ts32\ts0\tS255\r\nMsiLockPermissionsEx\tMsiLockPermissionsEx\r\nInstallFolder\tINSTALLDIR\tCreateFolder\t%s\t\r\n' \
  "$install_folder_sddl" >"$work/MsiLockPermissionsEx.idt"

# The summary's subject, the product name, goes in as raw bytes, so it must
# already be in the summary's code page (932); wixl writes UTF-8 there. The
# template names the package's language.
subject=$(property ProductName | iconv -f UTF-8 -t CP932)
msibuild "$package" -i "$work/_ForceCodepage.idt" -i "$work/MsiLockPermissionsEx.idt" -q "$upgrade_delete" -q "$upgrade_insert" \
  -s "$subject" "$(property Manufacturer)" "x64;1041"
mv "$package" "$output"
