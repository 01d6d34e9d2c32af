#!/usr/bin/env bash
# Builds everything and runs every test: native unit tests, the Windows builds (i686 and
# x86_64), and the end-to-end tests of the real program under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh

jobs=$(nproc)

echo "== native: build and unit tests"
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
ctest --preset native -j "$jobs"

for preset in win32 win64; do
    echo "== $preset: build"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
done

if [ -x scripts/e2e.sh ]; then
    echo "== end-to-end tests under Wine"
    scripts/e2e.sh
fi

scripts/bench.sh --short

echo "== all tests passed"
