#!/usr/bin/env bash
# Writes the README's pictures of the windows: docs/screenshots/editor.png (the translation editor
# on the sample's main form, with its Russian column and a Greek one added) and
# docs/screenshots/font-dialog.png; the dialogs' and the project manager's from their tests. Runs on Qt's offscreen platform: no display is needed.
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
ls docs/screenshots
