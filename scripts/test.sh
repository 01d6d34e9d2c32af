#!/usr/bin/env bash
# Builds everything and runs every test: native unit tests (also under ASan/UBSan), the
# commissioning commands with the report checked in a real browser, the Windows
# builds (i686 and x86_64) with their stand-alone check, the end-to-end tests of the real program
# under Wine, the demo on the 64-bit Wine path, the benchmarks, the release packages and their
# tests (the .deb too), and a short fuzzing run of every fuzz target.
#
# Every stage is timed. A failed stage does not stop the ones after it; at the end a table gives
# each stage's result and time, and a line counts what passed, failed and was skipped (with why).
# The exit status is 1 when a stage failed.
#
# The two long builds (the sanitizer tree and the fuzz targets) run in the background from the
# end of the native unit tests, at the lowest priority, so that they take what the Windows
# builds leave and what the Wine stages, which mostly wait on windows and timers, do not use.
# Their output is kept in build/test-logs/ and printed whole when they are done. Only builds run
# there: every test, the sanitized ones and the fuzzing included, runs in the foreground on a
# machine that no background stage slows down, so that no timing case depends on the load. The
# performance stage runs last.
#
# Where this machine cannot run 32-bit programs, the i686 build is still built and checked for
# what needs no execution (imports, ordinals, size); its end-to-end run is a skipped stage.
set -uo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh || { echo "test: scripts/setup.sh failed"; exit 1; }
source scripts/wine_env.sh
zavi_wine_setup || exit 1
echo "== Wine: $ZAVI_WINE_WHY"

jobs=$(nproc)

# Every tree compiles through ccache where it is installed (scripts/setup.sh installs it): a run
# after an earlier one on this machine, in any checkout, compiles only what changed. Paths under
# this checkout are hashed relative to it and the build folder is not hashed, so two clones
# share their objects. The unit tests keep their precompiled header; the sloppiness lets ccache
# take it into account.
configure_flags=()
if command -v ccache >/dev/null 2>&1; then
    export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1
    export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
    export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
    configure_flags=(-DZAVI_PCH=ON)
    echo "== compiler cache: ccache in $(ccache -k cache_dir)"
fi
stage_names=() stage_results=() stage_times=()
run_started=$SECONDS

stage() {  # stage NAME COMMAND...
    local name=$1 start=$SECONDS result=ok
    shift
    echo "== $name"
    "$@" || result=FAILED
    stage_names+=("$name")
    stage_results+=("$result")
    stage_times+=("$((SECONDS - start))")
    [ "$result" = ok ] || echo "== $name: FAILED"
}

skipped_stage() {  # skipped_stage NAME WHY
    echo "== $1: SKIPPED, $2"
    stage_names+=("$1")
    stage_results+=("skipped: $2")
    stage_times+=("")
}

# Stages run in the background, beside the foreground ones: their slots in the table are
# filled when alongside_wait collects them.
logs=build/test-logs
alongside_names=() alongside_pid=""
rm -rf "$logs" && mkdir -p "$logs"

alongside_one() {  # alongside_one N COMMAND...: the Nth background stage, into its log
    local n=$1 start=$SECONDS result=ok
    shift
    "$@" >"$logs/$n.log" 2>&1 </dev/null || result=FAILED
    echo "$result $((SECONDS - start))" >"$logs/$n.result"
}

alongside() {  # alongside NAME SCRIPT [NAME SCRIPT]...: these stages in turn, in the background
    local first=${#alongside_names[@]} scripts=()
    while [ $# -ge 2 ]; do
        echo "== $1: runs beside the next stages, output in $logs/${#alongside_names[@]}.log"
        alongside_names+=("$1")
        scripts+=("$2")
        shift 2
    done
    # A process group of its own, so that an interrupted run ends it too.
    set -m
    (
        renice -n 19 -p "$BASHPID" >/dev/null
        for i in "${!scripts[@]}"; do alongside_one $((first + i)) "${scripts[$i]}"; done
    ) &
    alongside_pid=$!
    set +m
}
end_alongside() {
    if [ -n "$alongside_pid" ] && kill -0 "$alongside_pid" 2>/dev/null; then
        kill -- "-$alongside_pid" 2>/dev/null
    fi
}
trap end_alongside EXIT

alongside_wait() {  # the background stages' output and results, in their order
    [ -n "$alongside_pid" ] || return 0
    echo "== waiting for the stages beside"
    wait "$alongside_pid"
    alongside_pid=""
    local n result t
    for n in "${!alongside_names[@]}"; do
        echo "== ${alongside_names[$n]} (ran beside the stages above)"
        cat "$logs/$n.log" 2>/dev/null
        result=FAILED t=""
        [ -f "$logs/$n.result" ] && read -r result t <"$logs/$n.result"
        stage_names+=("${alongside_names[$n]}")
        stage_results+=("$result")
        stage_times+=("$t")
        [ "$result" = ok ] || echo "== ${alongside_names[$n]}: FAILED"
    done
}

build_preset() {
    cmake --preset "$1" "${configure_flags[@]}" >/dev/null && cmake --build --preset "$1" -j "$jobs"
}

# What scripts/asan.sh and scripts/fuzz.sh build, so that they find it built.
build_sanitized() {
    cmake --preset native-asan "${configure_flags[@]}" >/dev/null &&
        cmake --build --preset native-asan -j "$jobs" --target test_programs &&
        cmake --preset fuzz >/dev/null &&
        cmake --build --preset fuzz -j "${FUZZ_BUILD_JOBS:-2}" --target fuzz_targets
}

# Root ignores file permissions, so the settings-file cases that need them run again as an
# ordinary user where that user can reach the build; so do the serial-port cases (a port the
# user may not open, and the exclusive claim without root's privileges), and the safe writer's
# folder that may not be written.
as_nobody=(setpriv --reuid=65534 --regid=65534 --clear-groups)
unit_tests=$(pwd)/build/native/tests/unit_tests
permission_cases() {
    (cd /tmp && "${as_nobody[@]}" "$unit_tests" --gtest_filter='SettingsAbuse*:TtyDriver*:TtyLink*:SafeFile*' --gtest_brief=1)
}

stage "native: build" build_preset native
stage "native: unit tests" ctest --preset native -j "$jobs"
alongside "native-asan and fuzz targets: build" build_sanitized
stage "commissioning commands and the report in a real browser" scripts/report_check.sh
if [ "$(id -u)" != 0 ]; then
    skipped_stage "settings-file and serial-port permission cases as an ordinary user" \
        "not root: the unit tests above already ran them as an ordinary user"
elif ! "${as_nobody[@]}" test -x "$unit_tests" 2>/dev/null; then
    skipped_stage "settings-file and serial-port permission cases as an ordinary user" \
        "an ordinary user cannot reach $unit_tests"
else
    stage "settings-file and serial-port permission cases as an ordinary user" permission_cases
fi
stage "Wine loader choice (fake loaders)" scripts/wine_env_test.sh
stage "win32: build (i686)" build_preset win32
stage "win64: build (x86_64)" build_preset win64
stage "Windows binaries stand alone" scripts/check_standalone.sh

stage "MQTT bridge against a real broker" scripts/mqtt_test.sh
stage "zavi-gsm-cli.exe on the drop-in FTD2XX.dll with a timeline (Wine)" scripts/cli_wine_check.sh
if ! zavi_wine_runs win32; then
    skipped_stage "end-to-end under Wine: i686 build" "$ZAVI_WINE_WHY"
fi
stage "end-to-end under Wine: ${ZAVI_WINE_PRESETS// /, } build" scripts/e2e.sh
stage "demo, headless, forced onto 64-bit Wine (ZAVI_WINE=64)" \
    env ZAVI_WINE=64 scripts/demo.sh --headless
stage "release packages" scripts/package.sh
stage "release packages under Wine, the .deb in a throw-away root" scripts/package_test.sh
alongside_wait
stage "native-asan: every test under ASan and UBSan" scripts/asan.sh
stage "fuzzing every target for a short fixed time" scripts/fuzz.sh
stage "performance (short)" scripts/bench.sh --short

echo
echo "== stages"
passed=0 failed=0 skipped=0
for i in "${!stage_names[@]}"; do
    result=${stage_results[$i]} t=${stage_times[$i]}
    case "$result" in
        ok) passed=$((passed + 1)) ;;
        FAILED) failed=$((failed + 1)) ;;
        *) skipped=$((skipped + 1)) ;;
    esac
    [ -n "$t" ] && t=$(printf '%dm%02ds' $((t / 60)) $((t % 60)))
    printf '%-60s %8s  %s\n' "${stage_names[$i]}" "$t" "$result"
done
for name in "${alongside_names[@]}"; do echo "  (in the background beside the others: $name)"; done
total=$((SECONDS - run_started))
printf '%-60s %8s\n' "total" "$(printf '%dm%02ds' $((total / 60)) $((total % 60)))"
echo "== ${#stage_names[@]} stages: $passed passed, $failed failed, $skipped skipped"
if [ "$failed" -ne 0 ]; then
    echo "== some tests FAILED"
    exit 1
fi
echo "== all tests passed"
