#!/usr/bin/env bash
# Writes the README's pictures of the windows: docs/screenshots/editor.png (the translation editor
# on the sample's main form, with its Russian column and a Greek one added) and
# docs/screenshots/font-dialog.png; the dialogs' and the project manager's from their tests; the
# demo's (demo-en.png, demo-de.png, demo-ru.png) from vorlect-demo --screenshot. Runs on Qt's offscreen platform: no display is needed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default > /dev/null
cmake --build --preset default --target ui_screenshots
QT_QPA_PLATFORM=offscreen build/default/tests/ui/ui_screenshots "$PWD" docs/screenshots
# The dialogs: the tests that show them save their pictures when VORLECT_UI_SHOTS names a folder.
cmake --build --preset default --target ui_test_editor_csv_format ui_test_language_setup ui_test_help \
  ui_test_editor_find ui_test_editor_speller ui_test_project_window ui_test_project_search ui_test_project_tools
VORLECT_UI_SHOTS="$PWD/docs/screenshots" ctest --test-dir build/default \
  -R '^ui_test_(editor_csv_format|language_setup|help|editor_find|editor_speller|project_window|project_search|project_tools)\.' --output-on-failure
# The demo in two languages of the sample's table, and reading the Russian string module built on
# a copy of the sample (with settings of its own).
cmake --build --preset default --target vorlect-demo vorlect vlrc vldcc
DEMO=build/default/examples/demo-app/vorlect-demo
QT_QPA_PLATFORM=offscreen "$DEMO" --screenshot docs/screenshots/demo-en.png
QT_QPA_PLATFORM=offscreen "$DEMO" --language 1 --screenshot docs/screenshots/demo-de.png
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
cp -r examples/sample-project/. "$WORK"/
VORLECT_REGISTRY_DIR="$WORK/registry" build/default/apps/vorlect/vorlect languages set 1033,1031,1049 > /dev/null
VORLECT_REGISTRY_DIR="$WORK/registry" build/default/apps/vorlect/vorlect project build-dlls "$WORK/Sample.dpr" Strings --yes > /dev/null
QT_QPA_PLATFORM=offscreen "$DEMO" "$WORK/Sample.dpr" --dll "$WORK/Strings3.dll" --screenshot docs/screenshots/demo-ru.png
ls docs/screenshots
