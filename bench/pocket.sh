#!/usr/bin/env bash
# The pocket catalogue of 1,000 catalogues of 1,000 entries, each with the
# side file of its scan's data: its size next to the catalogues' own (and
# to the page without the data), the time and peak memory of writing it,
# and, in headless Chromium, the time until it is ready to search and each
# keystroke's time to its first results for a rare and a common text and
# for field filters.
#   bench/pocket.sh BUILD
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:-build}" && pwd)"
source "$here/common.bash"
cli="$build/zondari/zondari-cli"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$build/bench/bench_pages" "$work" 1000 1000
catalogues=$(cat "$work"/ZOND_*.txt | wc -c)
echo "catalogues: 1000 x 1000 entries, $catalogues bytes"

export LC_ALL=C.UTF-8
page="$work/zondari-catalogo-tascabile.htm"
ZONDARI_PROGRAM_FOLDER="$work" "$cli" tascabile
size=$(stat -c %s "$page")
ratio=$(echo "100 * $size / $catalogues" | bc -l)
printf '%-44s %10s bytes  %5.1f%% of the catalogues  target 40%%  %s\n' "page without the files' data" "$size" "$ratio" \
  "$(echo "$ratio <= 40" | bc -l | sed 's/1/ok/;s/0/MISSED/')"
"$build/bench/bench_pocket" --dati "$work"
side=$(cat "$work"/ZOND_*.tsv | wc -c)
ZONDARI_PROGRAM_FOLDER="$work" "$cli" tascabile
with=$(stat -c %s "$page")
printf '%-44s %10s bytes  %5.1f%% of the catalogues and side files (%s bytes)\n' "page with the data" "$with" \
  "$(echo "100 * $with / ($catalogues + $side)" | bc -l)" "$side"
printf '%-44s %10s s\n' "zondari-cli tascabile" "$(ZONDARI_PROGRAM_FOLDER="$work" median_time 3 "$cli" tascabile)"
printf '%-44s %10s MiB\n' "peak memory, zondari-cli tascabile" "$(ZONDARI_PROGRAM_FOLDER="$work" peak_mib "$cli" tascabile)"

# A rare text (in about one track in 5,000) and a common one (one in 12).
# Filters: a common artist, play times, a rare title with no other text.
"$build/bench/bench_pocket" "$page" Zanzibar amore "autore:mina amore" "durata>6:30" "titolo:zanzibar"
