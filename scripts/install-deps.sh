#!/usr/bin/env bash
# Installs every Debian package that building and testing Vorlect needs, when missing.
# The one list of packages; .ci/run and the README's commands call this script.
set -euo pipefail

PACKAGES=(
  # build
  cmake ninja-build g++ pkgconf ccache
  libc6-dev                           # libc.a and rcrt1.o: the `vorlect` launcher is linked static-pie
  libicu-dev libcli11-dev libnuspell-dev libhunspell-dev nlohmann-json3-dev
  libxml2-dev                                                       # XLIFF reading (translators' formats)
  hunspell hunspell-en-us hunspell-de-de hunspell-fr hunspell-ru   # dictionaries; `hunspell` for the bench
  qt6-base-dev libgl-dev fonts-dejavu-core                          # the windows (Qt 6 Widgets) and their fonts
  libfreetype-dev libfontconfig-dev                                 # text widths measured on the command line
  zlib1g-dev liblzma-dev libpng-dev libbrotli-dev libexpat1-dev     # their archives: the command line links them statically
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  libxml2-utils gettext               # xmllint and msgfmt/msgcat check the PO and XLIFF files the exports write
  fp-compiler fp-units-rtl            # the reference form-file converter used by tests and bench
  binutils-mingw-w64-x86-64           # windres and ld: .res and DLL output compared in tests
  gcc-mingw-w64-x86-64-win32 wine64   # string modules loaded by the Windows loader (tests labelled "windows")
  libreoffice-calc-nogui              # CSV files through a real spreadsheet (tests labelled "spreadsheet")
  # sanitizers and fuzzing
  clang-14 libclang-rt-14-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]} == 0)); then
  echo "install-deps: all ${#PACKAGES[@]} packages present"
  exit 0
fi

SUDO=""
if [[ $(id -u) -ne 0 ]]; then SUDO="sudo"; fi
echo "install-deps: installing ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
