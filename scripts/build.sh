#!/usr/bin/env bash
# Configures and builds one build tree.
#   scripts/build.sh            release build with tests and benchmarks in build/
#   scripts/build.sh --sanitize clang build with ASan, UBSan and libFuzzer targets in build-sanitize/
# Both treat warnings as errors (FOTAKLE_WERROR), as CI does.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs="${FOTAKLE_JOBS:-2}"
# A compiler cache, where one is installed, makes rebuilds of unchanged
# sources nearly free.
launcher=()
if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
if [ "${1:-}" = "--sanitize" ]; then
    dir=build-sanitize
    CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
        -DFOTAKLE_SANITIZE=ON -DFOTAKLE_LIBFUZZER=ON -DFOTAKLE_BENCHMARKS=OFF -DFOTAKLE_WERROR=ON \
        "${launcher[@]}" >/dev/null
else
    dir=build
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFOTAKLE_WERROR=ON \
        "${launcher[@]}" >/dev/null
fi
cmake --build "$dir" -j "$jobs"
