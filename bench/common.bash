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

# A scratch folder for the run, removed at exit, with the program folder
# (where catalogues go) inside it: sets work and ZONDARI_PROGRAM_FOLDER.
bench_work() {
  work="$(mktemp -d)"
  trap 'rm -rf "$work"' EXIT
  export ZONDARI_PROGRAM_FOLDER="$work/programma"
  mkdir -p "$ZONDARI_PROGRAM_FOLDER"
}

# Mean wall time in seconds of a shell command line: hyperfine when there is
# one (RUNS runs after 2 warm-ups; it takes off the shell's own start), else
# the median of 5. mean_time RUNS 'command line'
mean_time() {
  if command -v hyperfine >/dev/null; then
    hyperfine -w 2 -r "$1" --export-json "$work/t.json" "$2" >/dev/null 2>&1
    sed -n 's/.*"mean": *\([0-9.e-]*\).*/\1/p' "$work/t.json" | head -1 | awk '{printf "%.4f\n", $1}'
  else
    median_time 5 bash -c "$2"
  fi
}
