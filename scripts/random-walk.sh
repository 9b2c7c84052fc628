#!/usr/bin/env bash
# A random walk of mouse and key events over the running program, on the sanitizer
# build: every dialog, message box and menu it reaches, on a copy of the sample library.
#   scripts/random-walk.sh [EVENTS [SEED [SECONDS]]]    defaults: 2000, the clock, 600
# It prints its seed (run again with the same seed to see the same walk; set
# QELVANE_WALK_TRACE=1 to print every action), the events, starts of the program, the
# rows changed, each window's share of the events and the choosers asked, and fails on
# a crash, a sanitizer report, a fatal report, or a library whose integrity check or
# row counts the walk does not explain.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DQELVANE_SANITIZE=ON > /dev/null
cmake --build build-sanitize -j"$(nproc)" --target tst_randomwalk
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
exec build-sanitize/tests/tst_randomwalk "${1:-2000}" ${2:+"$2"} ${3:+"$3"}
