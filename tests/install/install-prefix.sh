#!/usr/bin/env bash
# Installs the build into a fresh prefix for the tests that look at the
# installed tree.
#   install-prefix.sh CMAKE BUILD PREFIX
set -euo pipefail
cmake="$1"
build="$2"
prefix="$3"
rm -rf "$prefix"
"$cmake" --install "$build" --prefix "$prefix" >/dev/null
