#!/usr/bin/env bash
# Configures and builds one build tree.
#   scripts/build.sh            release build with tests and benchmarks in build/
#   scripts/build.sh --sanitize clang build with ASan, UBSan and libFuzzer targets in build-sanitize/
set -euo pipefail
cd "$(dirname "$0")/.."

jobs="${FOTAKLE_JOBS:-2}"
if [ "${1:-}" = "--sanitize" ]; then
    dir=build-sanitize
    CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
        -DFOTAKLE_SANITIZE=ON -DFOTAKLE_LIBFUZZER=ON -DFOTAKLE_BENCHMARKS=OFF >/dev/null
else
    dir=build
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$dir" -j "$jobs"
