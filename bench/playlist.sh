#!/usr/bin/env bash
# The player opening an M3U list of 20 million lines (40 MB), as it does on
# the window's thread: the time the expansion takes and its peak memory, for
# a list of entries (reading stops at the 10,000-entry budget) and a list of
# comments (reading stops after 16 MiB of it). Targets: under 1 s and under
# 64 MiB each.
#   bench/playlist.sh BUILD
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:-build}" && pwd)"
source "$here/common.bash"
bench="$build/bench/bench_playlist"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
yes 'x' | head -n 20000000 >"$work/voci.m3u" || true
yes '#' | head -n 20000000 >"$work/commenti.m3u" || true

for list in voci commenti; do
  file="$work/$list.m3u"
  read -r entries seconds < <("$bench" "$file")
  peak=$(peak_mib "$bench" "$file")
  printf '%-44s %6s entries %7.3f s %7s MiB (targets < 1 s, < 64 MiB)\n' \
    "$list.m3u: 20000000 lines, $(du -m "$file" | cut -f1) MiB" "$entries" "$seconds" "$peak"
done
