#!/usr/bin/env bash
# Builds Qelvane and starts it on the sample library.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build -j"$(nproc)"
exec build/bin/qelvane "$@"
