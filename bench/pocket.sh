#!/usr/bin/env bash
# The pocket catalogue of 1,000 catalogues of 1,000 entries: its size next
# to the catalogues' own, the time and peak memory of writing it, and, in
# headless Chromium, the time until it is ready to search and each
# keystroke's time to its first results for a rare and a common text.
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
ZONDARI_PROGRAM_FOLDER="$work" "$cli" tascabile
page="$work/zondari-catalogo-tascabile.htm"
size=$(stat -c %s "$page")
ratio=$(echo "100 * $size / $catalogues" | bc -l)
printf '%-44s %10s bytes  %5.1f%% of the catalogues  target 40%%  %s\n' "page" "$size" "$ratio" \
  "$(echo "$ratio <= 40" | bc -l | sed 's/1/ok/;s/0/MISSED/')"
printf '%-44s %10s s\n' "zondari-cli tascabile" "$(ZONDARI_PROGRAM_FOLDER="$work" median_time 3 "$cli" tascabile)"
printf '%-44s %10s MiB\n' "peak memory, zondari-cli tascabile" "$(ZONDARI_PROGRAM_FOLDER="$work" peak_mib "$cli" tascabile)"

# A rare text (in about one track in 5,000) and a common one (one in 12).
"$build/bench/bench_pocket" "$page" Zanzibar amore
