#!/usr/bin/env bash
# Builds the 32-bit program and starts it under Wine on the built-in simulated module.
#
#   scripts/demo.sh            with a display: the program opens in a window; without one (or
#                              with --headless): Xvfb, a screenshot to demo/screenshot.png, and
#                              the program is closed again as a user would close it.
#
# demo/ (not in git) holds zavi-gsm.exe, the simulated FTD2XX.dll, the settings file and the
# module's state (module-state.json), so what a user writes to the module survives a restart.
# Its Wine prefix lives in ~/.cache/zavi-gsm/wine (ZAVI_DEMO_WINEPREFIX to choose another).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
headless=0
[ "${1:-}" = "--headless" ] && headless=1
[ -z "${DISPLAY:-}" ] && headless=1

scripts/setup.sh

cmake --preset win32 >/dev/null
cmake --build --preset win32 -j2 --target zavi-gsm ftd2xx_sim zavi_e2e

demo=$root/demo
mkdir -p "$demo"
cp build/win32/win32/zavi-gsm.exe build/win32/sim/dll/FTD2XX.dll "$demo/"
rm -f "$demo/screenshot.png"

winpath() { local p=${1//\//\\}; echo "Z:$p"; }
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEPREFIX=${ZAVI_DEMO_WINEPREFIX:-$HOME/.cache/zavi-gsm/wine}
# The simulated module keeps its state here (read by the drop-in library, not by the program).
export ZAVI_SIM_STATE
ZAVI_SIM_STATE=$(winpath "$demo/module-state.json")
unset ZAVI_SIM_SCENARIO ZAVI_SIM_JOURNAL

# A prefix made by another Wine version fails to start programs: make it anew then.
stamp=$WINEPREFIX/.zavi-wine-version
if [ ! -f "$stamp" ] || [ "$(cat "$stamp")" != "$(wine --version)" ]; then
    echo "demo: making the Wine prefix $WINEPREFIX (once, 10-20 s)"
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    if [ "$headless" = 1 ]; then
        timeout 180 xvfb-run -a wineboot -i >/dev/null 2>&1
    else
        timeout 180 wineboot -i >/dev/null 2>&1
    fi
    timeout 60 wineserver -w || true
    wine --version >"$stamp"
fi

cd "$demo"
if [ "$headless" = 0 ]; then
    echo "demo: starting zavi-gsm.exe on the simulated module (close its window to end)"
    wine zavi-gsm.exe
    exit 0
fi

echo "demo: no display, running under Xvfb"
status=0
timeout -k 5 120 xvfb-run -a -s "-screen 0 1024x768x24" \
    wine explorer /desktop=zavi-demo,800x600 "$root/build/win32/e2e/zavi_e2e.exe" \
    --demo "$(winpath "$demo")" --shot "$(winpath "$demo/screenshot.png")" || status=$?
timeout 20 wineserver -k >/dev/null 2>&1 || true
if [ ! -s "$demo/screenshot.png" ]; then
    echo "demo: FAILED, no screenshot (exit $status)"
    exit 1
fi
echo "demo: screenshot of the main window: $demo/screenshot.png"
