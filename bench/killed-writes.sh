#!/usr/bin/env bash
# The kill loops of the fault tests, longer: each writer of the program (the
# settings from the file types window, a catalogue from the scan, a tag
# appended and written over from the tag editor and zondari-cli, each page)
# killed with SIGKILL at random moments, RUNS times each (2000 unless given),
# and the file checked after every kill. Prints each loop's tally.
#   bench/killed-writes.sh BUILD [RUNS]
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
runs="${2:-2000}"
test="$build/tests/faults_killed_writes_test"
[[ -x "$test" ]] || { echo "killed-writes: $test is missing (build with the tests)"; exit 1; }
ZONDARI_KILL_RUNS="$runs" QT_QPA_PLATFORM=offscreen "$test" --gtest_brief=1 | grep -v '^\['
