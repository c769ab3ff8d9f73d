#!/usr/bin/env bash
# The Group Policy templates: well-formed XML, every text the .admx names
# in each language's .adml, and the key and value the programs read.
#   policy.sh POLICY_DIR JOURNAL_SOURCE
set -uo pipefail
source "$(dirname "$0")/expect.sh"
dir=$1
admx=$dir/qvx4k5.admx
# One value by XPath, elements matched by local name (the files have a default namespace).
value() { xmllint --xpath "string($(sed -E "s/(^|\/)([a-zA-Z]+)/\1*[local-name()='\2']/g" <<<"$2"))" "$1" 2>/dev/null; }

(cd "$dir" && xmllint --noout qvx4k5.admx ja-JP/qvx4k5.adml en-US/qvx4k5.adml)
expect "well-formed XML" "$?" "0"
expect "policy: key, value, machine" \
  "$(value "$admx" //policy/@key) $(value "$admx" //policy/elements/text/@valueName) $(value "$admx" //policy/@class)" \
  'SOFTWARE\Policies\Quorvex\418KQ5 JournalFolder Machine'
grep -qF 'L"SOFTWARE\\Policies\\Quorvex\\418KQ5"' "$2" && grep -qF 'L"JournalFolder"' "$2"
expect "the programs read that key and value" "$?" "0"

for language in ja-JP en-US; do
  adml=$dir/$language/qvx4k5.adml
  for id in $(grep -o '\$(string\.[A-Za-z0-9_]*)' "$admx" | sed 's/^$(string\.//; s/)$//' | sort -u); do
    [ -n "$(value "$adml" "//string[@id='$id']")" ]
    expect "$language: text $id" "$?" "0"
  done
  expect "$language: the folder box" "$(value "$adml" "//presentation[@id='JournalFolder']/textBox/@refId")" \
    "JournalFolder"
done

expect_done
