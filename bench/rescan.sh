#!/usr/bin/env bash
# The memory of the rescan's comparison with a stored catalogue of 20,000
# and of 200,000 entries: at its peak it must hold less than twice the
# catalogue file. (A catalogue of a few hundred entries costs a fixed
# 30 KiB or so: the read buffer and the first blocks of the lists.)
#   bash bench/rescan.sh BUILD
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
status=0
for entries in 20000 200000; do
  "$build/bench/bench_rescan" "$work" "$entries" || status=1
done
exit $status
