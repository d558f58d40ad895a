#!/usr/bin/env bash
# Sets up a fresh Debian 12 machine, builds Vorlect and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default
cmake --build --preset default
ctest --preset default
# Register the installed dictionaries as speller languages, as the install does.
build/default/apps/vorlect/vorlect spellers register | tail -n 1
