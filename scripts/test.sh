#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
#   scripts/test.sh             release build (build/)
#   scripts/test.sh --sanitize  the same tests under ASan and UBSan, plus the
#                               fuzz targets over their seed corpora (build-sanitize/)
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/build.sh "$@"

dir=build
if [ "${1:-}" = "--sanitize" ]; then
    dir=build-sanitize
    export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:allocator_may_return_null=1"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
fi
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$dir" --output-on-failure -j "${FOTAKLE_JOBS:-2}" --timeout 600
