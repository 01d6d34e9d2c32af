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
# Root ignores file permissions, so the settings-file cases that need them run again as an
# ordinary user where that user can reach the build; so do the serial-port cases (a port the
# user may not open, and the exclusive claim without root's privileges).
tests=$(pwd)/build/native/tests/unit_tests
as_nobody=(setpriv --reuid=65534 --regid=65534 --clear-groups)
if [ "$(id -u)" = 0 ] && "${as_nobody[@]}" test -x "$tests" 2>/dev/null; then
    echo "== settings-file and serial-port permission cases as an ordinary user"
    (cd /tmp && "${as_nobody[@]}" "$tests" --gtest_filter='SettingsAbuse*:TtyDriver*:TtyLink*' --gtest_brief=1)
fi

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
