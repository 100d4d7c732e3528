#!/usr/bin/env bash
# Runs every fuzz target (or the ones named) for a time or a number of runs,
# one after another, from its committed corpus, and prints each target's runs
# and coverage at its end. New inputs go to a scratch corpus, not the
# committed one. --jobs J runs J targets at a time (one core each).
#   bench/fuzz.sh [--time SECONDS | --runs N] [--jobs J] [BUILD_FUZZ] [TARGET...]
# BUILD_FUZZ defaults to build-fuzz (made by scripts/run-fuzz or
# `CC=clang CXX=clang++ cmake -S . -B build-fuzz -DZONDARI_FUZZ=ON`).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
limit=(-max_total_time=60)
parallel=1
while [[ $# -gt 0 ]]; do
  case "$1" in
    --time) limit=(-max_total_time="$2"); shift 2 ;;
    --runs) limit=(-runs="$2"); shift 2 ;;
    --jobs) parallel="$2"; shift 2 ;;
    *) break ;;
  esac
done
build="${1:-$here/build-fuzz}"
shift || true
targets=("$@")
if ! compgen -G "$build/tests/fuzz/fuzz_*" >/dev/null; then
  # bench/run-all hands every script the normal build tree.
  if compgen -G "$here/build-fuzz/tests/fuzz/fuzz_*" >/dev/null; then
    build="$here/build-fuzz"
  else
    echo "fuzz: no fuzz targets in $build (scripts/run-fuzz builds them in build-fuzz/)"
    exit 0
  fi
fi
if [[ ${#targets[@]} -eq 0 ]]; then
  for t in "$build"/tests/fuzz/fuzz_*; do targets+=("$(basename "$t" | sed 's/^fuzz_//')"); done
fi

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
# One target's run; its verdict goes to $scratch/$t.status, its line to stdout.
fuzz_one() {
  local t="$1" bin="$build/tests/fuzz/fuzz_$1" maxlen=8192 start last runs cov
  [[ -x "$bin" ]] || { echo "fuzz: $bin is missing"; echo 1 >"$scratch/$t.status"; return; }
  mkdir -p "$scratch/$t" "$scratch/artifacts-$t"
  # The MP3 target reads whole files: let inputs grow past libFuzzer's 4 KiB.
  [[ $t == mp3 ]] && maxlen=80000
  start=$(date +%s)
  if ! "$bin" "${limit[@]}" -max_len="$maxlen" -timeout=60 -rss_limit_mb=2048 -print_final_stats=1 \
       -artifact_prefix="$scratch/artifacts-$t/" "$scratch/$t" "$here/tests/fuzz/corpus/$t" \
       >"$scratch/$t.log" 2>&1; then
    echo 1 >"$scratch/$t.status"
    echo "fuzz $t: FAILED"
    grep -E "ERROR|property broken|SUMMARY|Test unit written" "$scratch/$t.log" | head -20
    mkdir -p "$here/build-fuzz-findings"
    cp "$scratch/artifacts-$t"/* "$here/build-fuzz-findings/" 2>/dev/null || true
  else
    echo 0 >"$scratch/$t.status"
  fi
  last=$(grep -E "^#[0-9]+" "$scratch/$t.log" | tail -1)
  runs=$(grep -E "stat::number_of_executed_units" "$scratch/$t.log" | awk '{print $2}')
  cov=$(sed -n 's/.* cov: \([0-9]*\) ft: \([0-9]*\).*/cov \1 ft \2/p' <<<"$last")
  printf 'fuzz %-10s runs %-10s %-22s %4ss\n' "$t" "${runs:-?}" "${cov:-?}" "$(( $(date +%s) - start ))"
}

for t in "${targets[@]}"; do
  while [[ $(jobs -rp | wc -l) -ge $parallel ]]; do wait -n || true; done
  fuzz_one "$t" &
done
wait
status=0
for t in "${targets[@]}"; do
  [[ $(cat "$scratch/$t.status" 2>/dev/null) == 0 ]] || status=1
done
exit $status
