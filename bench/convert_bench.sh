#!/usr/bin/env bash
# Form-file conversion throughput of `vorlect convert` against the Free Pascal converter
# (../shared/tools/fpc-dfmconv), on the same files in one run, both directions.
# Both tools run once per file as separate processes, so process start-up counts for both alike;
# the corpus holds forms of over a megabyte, where start-up matters little.
# Usage: convert_bench.sh [path/to/vorlect] [rounds]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
vorlect=${1:-$root/build/default/apps/vorlect/vorlect}
rounds=${2:-3}
corpus=${VORLECT_CORPUS_DIR:-$root/../shared/corpus}
tools=${VORLECT_FPC_DFMCONV_DIR:-$root/../shared/tools/fpc-dfmconv}

if [[ ! -d $corpus/dfm/binary ]]; then echo "bench: corpus not found at $corpus; skipped"; exit 0; fi
if ! command -v fpc >/dev/null; then echo "bench: fpc not installed (fp-compiler); skipped"; exit 0; fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dfmconv=$(bash "$tools/build.sh" "$work/fpc")

# The input set: every corpus binary form (from 1 KB to over 1 MB) and its text.
mkdir -p "$work/bin" "$work/txt" "$work/out"
cp "$corpus"/dfm/binary/*.dfm "$work/bin/"
for f in "$work"/bin/*.dfm; do "$vorlect" convert "$f" "$work/txt/$(basename "$f" .dfm).txt" --to text; done
bytes_bin=$(cat "$work"/bin/*.dfm | wc -c)
bytes_txt=$(cat "$work"/txt/*.txt | wc -c)

now() { date +%s.%N; }
run() {  # run TOOL-COMMAND over every file, $rounds times; prints seconds
  local t0 t1
  t0=$(now)
  for ((r = 0; r < rounds; r++)); do "$@"; done
  t1=$(now)
  awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.6f", b - a }' 
}
vorlect_totext() { for f in "$work"/bin/*.dfm; do "$vorlect" convert "$f" "$work/out/a.txt" --to text; done; }
fpc_totext()     { for f in "$work"/bin/*.dfm; do "$dfmconv" totext "$f" "$work/out/b.txt" >/dev/null; done; }
vorlect_tobin()  { for f in "$work"/txt/*.txt; do "$vorlect" convert "$f" "$work/out/a.dfm" --to binary; done; }
fpc_tobin()      { for f in "$work"/txt/*.txt; do "$dfmconv" tores "$f" "$work/out/b.dfm" >/dev/null; done; }

vorlect_totext; fpc_totext   # warm the page cache
t_vt=$(run vorlect_totext); t_ft=$(run fpc_totext)
t_vb=$(run vorlect_tobin);  t_fb=$(run fpc_tobin)

mbps() { awk -v b="$1" -v r="$rounds" -v t="$2" 'BEGIN { printf "%.2f", b * r / 1048576 / t }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", b / a }'; }
n=$(ls "$work"/bin | wc -l)
printf 'files: %d binary forms (%d bytes), their text (%d bytes), %d rounds\n' "$n" "$bytes_bin" "$bytes_txt" "$rounds"
printf 'binary -> text: vorlect %s MB/s, fpc-dfmconv %s MB/s, ratio %sx\n' \
  "$(mbps "$bytes_bin" "$t_vt")" "$(mbps "$bytes_bin" "$t_ft")" "$(ratio "$t_vt" "$t_ft")"
printf 'text -> binary: vorlect %s MB/s, fpc-dfmconv %s MB/s, ratio %sx\n' \
  "$(mbps "$bytes_txt" "$t_vb")" "$(mbps "$bytes_txt" "$t_fb")" "$(ratio "$t_vb" "$t_fb")"
