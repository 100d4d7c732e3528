# Helpers for the benchmark scripts (sourced, not run).

# Median wall time in seconds of a command, run N times (default 5) after
# one warm-up run: best_of N command...
median_time() {
  local n=$1; shift
  "$@" >/dev/null 2>&1
  local times=()
  for _ in $(seq "$n"); do
    local t0 t1
    t0=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    t1=$(date +%s.%N)
    times+=("$(echo "$t1 - $t0" | bc -l)")
  done
  printf '%s\n' "${times[@]}" | sort -g | awk '{a[NR]=$1} END {printf "%.4f\n", a[int((NR+1)/2)]}'
}

# Peak resident memory in MiB of one run of a command.
peak_mib() {
  /usr/bin/time -f '%M' "$@" 2>&1 >/dev/null | tail -1 | awk '{printf "%.1f\n", $1/1024}'
}
