#!/usr/bin/env bash
# Builds the native tree with AddressSanitizer and UndefinedBehaviorSanitizer (preset
# `native-asan`, any finding aborts) and runs every test in it: the unit tests and the replay of
# the fuzz corpus. Only the programs ctest runs are built (target test_programs).
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=${ASAN_BUILD_JOBS:-$(nproc)}
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:strict_string_checks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

cmake --preset native-asan >/dev/null
cmake --build --preset native-asan -j "$jobs" --target test_programs
ctest --preset native-asan -j "$jobs"
