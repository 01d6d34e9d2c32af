#!/usr/bin/env bash
# Builds the program and starts it under Wine on the built-in simulated module: the 32-bit build
# where this machine runs 32-bit programs, otherwise (or with ZAVI_WINE=64) the 64-bit one.
#
#   scripts/demo.sh            with a display: the program opens in a window; without one (or
#                              with --headless): Xvfb, a screenshot to demo/screenshot.png, and
#                              the program is closed again as a user would close it.
#
# demo/ (not in git) holds zavi-gsm.exe, the simulated FTD2XX.dll, the settings file and the
# module's state (module-state.json), so what a user writes to the module survives a restart.
# Its Wine prefix lives in ~/.cache/zavi-gsm/wine, or wine64 on the 64-bit path
# (ZAVI_DEMO_WINEPREFIX to choose another).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
headless=0
[ "${1:-}" = "--headless" ] && headless=1
[ -z "${DISPLAY:-}" ] && headless=1

scripts/setup.sh
source scripts/wine_env.sh
zavi_wine_setup
preset=win32 build_name="32-bit (i686)"
if ! zavi_wine_runs win32; then preset=win64 build_name="64-bit (x86_64)"; fi
echo "demo: runs the $build_name build; $ZAVI_WINE_WHY"

cmake --preset $preset >/dev/null
cmake --build --preset $preset -j2 --target zavi-gsm ftd2xx_sim zavi_e2e

demo=$root/demo
mkdir -p "$demo"
# The module's state file is kept; the program and its simulated driver follow the build.
cp build/$preset/win32/zavi-gsm.exe build/$preset/sim/dll/FTD2XX.dll "$demo/"
rm -f "$demo/screenshot.png"

winpath() { zavi_winpath "$1"; }
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# A prefix made by the 64-bit loader alone lacks the 32-bit half: each path has its own.
default_prefix=$HOME/.cache/zavi-gsm/wine
[ "$ZAVI_WINE_PATH" = 64 ] && default_prefix=$HOME/.cache/zavi-gsm/wine64
export WINEPREFIX=${ZAVI_DEMO_WINEPREFIX:-$default_prefix}
# The simulated module keeps its state here (read by the drop-in library, not by the program).
export ZAVI_SIM_STATE
ZAVI_SIM_STATE=$(winpath "$demo/module-state.json")
unset ZAVI_SIM_SCENARIO ZAVI_SIM_JOURNAL

# A prefix made by another Wine version fails to start programs: make it anew then.
stamp=$WINEPREFIX/.zavi-wine-version
if [ ! -f "$stamp" ] || [ "$(cat "$stamp")" != "$("$WINE" --version)" ]; then
    echo "demo: making the Wine prefix $WINEPREFIX (once, 10-20 s)"
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    boot=("$WINE" wineboot -i)
    [ "$headless" = 1 ] && boot=(xvfb-run -a "${boot[@]}")
    if ! timeout 180 "${boot[@]}" >/dev/null 2>&1; then
        echo "demo: FAILED, $WINE could not make the Wine prefix $WINEPREFIX"
        rm -rf "$WINEPREFIX"
        exit 1
    fi
    timeout 60 "$WINESERVER" -w || true
    "$WINE" --version >"$stamp"
fi

cd "$demo"
if [ "$headless" = 0 ]; then
    echo "demo: starting zavi-gsm.exe on the simulated module (close its window to end)"
    "$WINE" zavi-gsm.exe
    exit 0
fi

echo "demo: no display, running under Xvfb"
status=0
timeout -k 5 120 xvfb-run -a -s "-screen 0 1024x768x24" \
    "$WINE" explorer /desktop=zavi-demo,800x600 "$root/build/$preset/e2e/zavi_e2e.exe" \
    --demo "$(winpath "$demo")" --shot "$(winpath "$demo/screenshot.png")" || status=$?
timeout 20 "$WINESERVER" -k >/dev/null 2>&1 || true
if [ ! -s "$demo/screenshot.png" ]; then
    echo "demo: FAILED, no screenshot (exit $status)"
    exit 1
fi
echo "demo: screenshot of the main window ($build_name build): $demo/screenshot.png"
