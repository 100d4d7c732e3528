#!/usr/bin/env bash
# The database and search pages over 1,000 catalogues of 1,000 entries:
# zondari-cli search (case-insensitive, a rare and a common text) next to
# grep -F -i -c -r over the same files (and grep writing the matching lines
# out, as the page writes its hits), zondari-cli database, and the peak
# memory of both with 100 and with 1,000 catalogues.
#   bench/pages.sh BUILD
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:-build}" && pwd)"
source "$here/common.bash"
cli="$build/zondari/zondari-cli"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/big" "$work/small"
"$build/bench/bench_pages" "$work/big" 1000 1000
"$build/bench/bench_pages" "$work/small" 100 1000
echo "catalogues: 1000 x 1000 entries, $(du -sh "$work/big" | cut -f1) on disk"

export LC_ALL=C.UTF-8
runs=5
row() { printf '%-56s %8s s\n' "$1" "$2"; }

for text in Zanzibar amore; do
  ZONDARI_PROGRAM_FOLDER="$work/big" "$cli" search "$text" >/dev/null 2>&1 || true
  page="$work/big/zondari-pagina-di-ricerca.htm"
  hits=$(grep -o 'Trovati  [0-9]*' "$page" | grep -o '[0-9]*$' || echo 0)
  size=$(du -m "$page" | cut -f1)
  lines=$(grep -a -F -i -r -h --include='ZOND_*.txt' "$text" "$work/big" | grep -a -c -v '^(' || true)
  ours=$(ZONDARI_PROGRAM_FOLDER="$work/big" median_time $runs "$cli" search "$text")
  theirs=$(median_time $runs grep -F -i -c -r --include='ZOND_*.txt' "$text" "$work/big")
  # The same search with the matching lines written to a file, as the page
  # writes its hits: what a common text costs beyond finding it.
  written=$(median_time $runs sh -c "grep -F -i -r --include='ZOND_*.txt' '$text' '$work/big' > '$work/lines.txt'")
  row "zondari-cli search $text ($hits hits, ${size} MiB page)" "$ours"
  row "grep -F -i -c -r $text ($lines file lines)" "$theirs"
  printf '%-56s %8.2f x\n' "ratio" "$(echo "$ours / $theirs" | bc -l)"
  row "grep -F -i -r $text > file ($(du -m "$work/lines.txt" | cut -f1) MiB)" "$written"
done

row "zondari-cli database" "$(ZONDARI_PROGRAM_FOLDER="$work/big" median_time $runs "$cli" database)"
printf '%-56s %8s MiB\n' "peak memory, database, 100 catalogues" "$(ZONDARI_PROGRAM_FOLDER="$work/small" peak_mib "$cli" database)"
printf '%-56s %8s MiB\n' "peak memory, database, 1000 catalogues" "$(ZONDARI_PROGRAM_FOLDER="$work/big" peak_mib "$cli" database)"
printf '%-56s %8s MiB\n' "peak memory, search amore, 1000 catalogues" "$(ZONDARI_PROGRAM_FOLDER="$work/big" peak_mib "$cli" search amore)"
