#!/usr/bin/env bash
# The CD case insert of a catalogue of 100,000 entries: drawn on the preview
# picture and printed to a PDF file, and the preview with "Adatta" (the size
# and columns searched before drawing). Targets: each preview within 100 ms
# (it is drawn again on every column choice), the PDF within 1 s.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$1"
source "$here/common.bash"

pdf=$(mktemp /tmp/zondari-bench-etichetta-XXXXXX.pdf)
trap 'rm -f "$pdf"' EXIT
read -r preview print left fit search fitsize fitcolumns fitleft < <("$build/bench/bench_printing" 100000 5 "$pdf" 2>/dev/null)
words=$(pdftotext "$pdf" - | wc -w)
printf 'insert of 100000 entries (%d left out): preview %.1f ms (target <= 100), PDF %.1f ms (target <= 1000), %d words on the page\n' \
  "$left" "$(echo "$preview*1000" | bc -l)" "$(echo "$print*1000" | bc -l)" "$words"
printf 'insert of 100000 entries with "Adatta" (%s points, %d columns, %d left out): preview %.1f ms (target <= 100), of which the search %.1f ms\n' \
  "$fitsize" "$fitcolumns" "$fitleft" "$(echo "$fit*1000" | bc -l)" "$(echo "$search*1000" | bc -l)"
printf 'peak memory of the run: %s MiB\n' "$(peak_mib "$build/bench/bench_printing" 100000 1 "$pdf")"
