#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds Vorlect and runs its main job on the bundled sample
# project: list the project's forms, convert every form to the other format and back, give every
# form a translation table, exchange the translations as CSV, and build one string module per
# language that the forms then read.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target vorlect vlrc vldcc
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

# The string-module chain runs on a copy, with settings of its own.
WORK="$OUT/project"
mkdir -p "$WORK" && cp -r examples/sample-project/. "$WORK"/
export VORLECT_REGISTRY_DIR="$OUT/registry"
echo
echo "== vorlect languages set 1033,1031,1049 (the project's languages, for code pages and spelling)"
"$VORLECT" languages set 1033,1031,1049

echo
echo "== vorlect project add-component, then update: every form gets a translation component holding its texts"
"$VORLECT" project add-component "$WORK/Sample.dpr" --yes 2>/dev/null
"$VORLECT" project update "$WORK/Sample.dpr"
"$VORLECT" project list "$WORK/Sample.dpr"

echo
echo "== vorlect project export --utf8: all translations into one CSV file for translators"
"$VORLECT" project export "$WORK/Sample.dpr" "$OUT/translations.csv" --utf8 --no
head -n 4 "$OUT/translations.csv"

echo
echo "== vorlect project build-dlls: resource scripts -> .res -> one string module per language"
"$VORLECT" project build-dlls "$WORK/Sample.dpr" Strings --yes

echo
echo "== the main form as it reads its texts from Strings3.dll (Russian, code page 1251)"
"$VORLECT" form dump "$WORK/Main.dfm" --dll "$WORK/Strings3.dll" | iconv -f cp1251 -t utf-8 | grep -E "Caption|Hint|Text =" | sed -n 1,12p
echo "..."
unset VORLECT_REGISTRY_DIR

echo
echo "== registering the installed Hunspell dictionaries as speller languages"
"$VORLECT" spellers register | tail -n 1
"$VORLECT" spellers list
