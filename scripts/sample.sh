#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds Vorlect and runs its main job on the bundled sample
# project: list the project's forms, then convert every form to the other format and back.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target vorlect
VORLECT=build/default/apps/vorlect/vorlect
PROJECT=examples/sample-project/Sample.dpr
OUT=build/sample-out
rm -rf "$OUT" && mkdir -p "$OUT"

echo "== vorlect project list $PROJECT"
"$VORLECT" project list "$PROJECT"

echo
echo "== converting every form (text <-> binary) into $OUT"
"$VORLECT" project convert "$PROJECT" --out "$OUT"

echo
echo "== the main form as the application shows it in language 1 (German; shown here in UTF-8)"
"$VORLECT" form dump examples/sample-project/Main.dfm --language 1 | iconv -f cp1252 -t utf-8 | grep -E "Caption|Hint|Title|Text =" | sed -n 1,20p
echo "..."
echo
echo "== vorlect form text examples/sample-project/Main.dfm ErrNoFile --language 1"
"$VORLECT" form text examples/sample-project/Main.dfm ErrNoFile --language 1 | iconv -f cp1252 -t utf-8

echo
echo "== registering the installed Hunspell dictionaries as speller languages"
"$VORLECT" spellers register | tail -n 1
"$VORLECT" spellers list
