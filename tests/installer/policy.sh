#!/usr/bin/env bash
# The Group Policy templates: well-formed XML, every text and presentation
# the .admx names present in each language's .adml, and the key and value
# the programs read.
#   policy.sh POLICY_DIR JOURNAL_SOURCE
set -uo pipefail
source "$(dirname "$0")/expect.sh"
dir=$1
source_file=$2
admx=$dir/qvx4k5.admx
languages=(ja-JP en-US)

# One value by XPath; namespaces are matched by local name only.
value() { xmllint --xpath "string($2)" "$1" 2>/dev/null; }
el() { echo "*[local-name()='$1']"; }

for file in qvx4k5.admx "${languages[@]/%//qvx4k5.adml}"; do
  xmllint --noout "$dir/$file" 2>&1
  expect "$file: well-formed XML" "$?" "0"
done

policy="//$(el policy)[@name='JournalFolder']"
expect "policy: machine" "$(value "$admx" "$policy/@class")" "Machine"
expect "policy: key" "$(value "$admx" "$policy/@key")" 'SOFTWARE\Policies\Quorvex\418KQ5'
expect "policy: value" "$(value "$admx" "$policy/$(el elements)/$(el text)/@valueName")" "JournalFolder"
grep -qF 'L"SOFTWARE\\Policies\\Quorvex\\418KQ5"' "$source_file" && grep -qF 'L"JournalFolder"' "$source_file"
expect "the programs read that key and value" "$?" "0"

strings=$(grep -o '\$(string\.[A-Za-z0-9_]*)' "$admx" | sed 's/^$(string\.//; s/)$//' | sort -u)
presentations=$(grep -o '\$(presentation\.[A-Za-z0-9_]*)' "$admx" | sed 's/^$(presentation\.//; s/)$//' | sort -u)
texts=$(xmllint --xpath "//$(el text)/@id" "$admx" 2>/dev/null | sed 's/ id="\([^"]*\)"/\1\n/g' | sed '/^$/d' | sort)
expect "the policy's boxes" "$texts" "JournalFolder"
for language in "${languages[@]}"; do
  adml=$dir/$language/qvx4k5.adml
  for id in $strings; do
    [ -n "$(value "$adml" "//$(el string)[@id='$id']")" ]
    expect "$language: text $id" "$?" "0"
  done
  for id in $presentations; do
    expect "$language: presentation $id names the policy's boxes" \
      "$(xmllint --xpath "//$(el presentation)[@id='$id']//@refId" "$adml" 2>/dev/null |
        sed 's/ refId="\([^"]*\)"/\1\n/g' | sed '/^$/d' | sort)" "$texts"
  done
done

expect_done
