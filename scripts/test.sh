#!/usr/bin/env bash
# Builds everything and runs every test: native unit tests (also under ASan/UBSan), the Windows
# builds (i686 and x86_64) with their stand-alone check, the end-to-end tests of the real program
# under Wine, and a short fuzzing run of every fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh

jobs=$(nproc)

echo "== native: build and unit tests"
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
ctest --preset native -j "$jobs"

echo "== native-asan: every test under AddressSanitizer and UndefinedBehaviorSanitizer"
scripts/asan.sh

for preset in win32 win64; do
    echo "== $preset: build"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
done

echo "== Windows binaries stand alone"
scripts/check_standalone.sh

if [ -x scripts/e2e.sh ]; then
    echo "== end-to-end tests under Wine"
    scripts/e2e.sh
fi

scripts/bench.sh --short

echo "== fuzzing every target for a short fixed time"
scripts/fuzz.sh

echo "== all tests passed"
