#!/usr/bin/env bash
# The player's grid fill for a folder of 20,000 music files, next to `ls -l`
# on the same folder. Target: the fill within 3x of ls -l.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$1"
source "$here/common.bash"

dir=$(mktemp -d /tmp/zondari-bench-grid-XXXXXX)
trap 'rm -rf "$dir"' EXIT
python3 - "$dir" <<'PY'
import os, sys, random
random.seed(7)
d = sys.argv[1]
exts = [".mp3"] * 8 + [".wav", ".wma"]
words = ["amore", "notte", "sole", "strada", "mare", "vento", "città", "cuore", "luna", "tempo"]
for i in range(20000):
    name = f"{i:05d} - {random.choice(words).title()} {random.choice(words)}{random.choice(exts)}"
    with open(os.path.join(d, name), "wb") as f:
        f.write(b"\0" * random.randint(1, 4096))
PY

ls_time=$(median_time 5 ls -l "$dir")
read -r fill_time rows < <("$build/bench/bench_trackgrid" "$dir" 5)
ratio=$(echo "$fill_time / $ls_time" | bc -l)
printf 'grid fill of %d files: %.1f ms; ls -l: %.1f ms; ratio %.2f (target <= 3)\n' \
  "$rows" "$(echo "$fill_time*1000" | bc -l)" "$(echo "$ls_time*1000" | bc -l)" "$ratio"
