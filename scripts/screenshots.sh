#!/usr/bin/env bash
# Writes the README's pictures of the windows: docs/screenshots/editor.png (the translation editor
# on the sample's main form, with its Russian column and a Greek one added) and
# docs/screenshots/font-dialog.png. Runs on Qt's offscreen platform: no display is needed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default > /dev/null
cmake --build --preset default --target ui_screenshots
QT_QPA_PLATFORM=offscreen build/default/tests/ui/ui_screenshots "$PWD" docs/screenshots
