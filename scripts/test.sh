#!/usr/bin/env bash
# Builds Qelvane and runs every test, headless. Exits non-zero when any test fails.
#   scripts/test.sh             the normal build, in build/
#   scripts/test.sh --sanitize  a build with AddressSanitizer and UndefinedBehaviorSanitizer,
#                               in build-sanitize/, so a use after free or undefined
#                               behaviour fails the run
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh

BUILD=build
CONFIGURE=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = "--sanitize" ]; then
  BUILD=build-sanitize
  CONFIGURE=(-DCMAKE_BUILD_TYPE=Debug -DQELVANE_SANITIZE=ON)
  # Qt and fontconfig keep caches until exit; leaks are not what this run looks for.
  export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi

cmake -S . -B "$BUILD" "${CONFIGURE[@]}" > /dev/null
cmake --build "$BUILD" -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$BUILD" --output-on-failure -j"$(nproc)"
