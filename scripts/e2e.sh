#!/usr/bin/env bash
# End-to-end tests of the real program under Wine, for the i686 and the x86_64 build: the
# in-process checks of the Win32 layer, the drop-in FTD2XX.dll smoke program, and the driver
# that runs zavi-gsm.exe beside the simulated module and drives it by window messages.
#
#   scripts/e2e.sh [CASE-FILTER]       (ZAVI_E2E_PRESETS="win32" to run one build only)
#
# Where this machine cannot run 32-bit programs (or with ZAVI_WINE=64) only the x86_64 build
# runs, and one line says that the i686 cases were skipped and why.
# A fresh Wine prefix is made in a temporary folder outside the repo and removed at the end;
# the display is a private Xvfb (xvfb-run -a). Screenshots go to build/<preset>/e2e/shots/.
# The x86_64 build also runs its high-DPI case at 144 DPI (ZAVI_E2E_DPI; ZAVI_E2E_DPI_FILTER
# picks other cases for that pass), screenshots in shots/dpi144/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
filter=${1:-}
source scripts/wine_env.sh
zavi_wine_setup
echo "== Wine: $ZAVI_WINE_WHY"
presets=""
for preset in ${ZAVI_E2E_PRESETS:-win32 win64}; do
    if zavi_wine_runs "$preset"; then
        presets+="${presets:+ }$preset"
    else
        arch=i686
        [ "$preset" = win64 ] && arch=x86_64
        echo "-- $preset ($arch) end-to-end cases: SKIPPED, $ZAVI_WINE_WHY"
    fi
done
if [ -z "$presets" ]; then
    echo "e2e: none of the builds asked for (${ZAVI_E2E_PRESETS:-}) can run here" >&2
    exit 1
fi

# zavi-sim-serve plays the module on a pseudo-terminal that the prefix maps to COM5.
cmake --preset native >/dev/null
cmake --build --preset native -j2 --target zavi-sim-serve zavi-gsm-cli
for preset in $presets; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j2 --target zavi-gsm ftd2xx_sim ftd2xx_smoke zavi_win32_checks zavi_e2e
    cmake --build --preset "$preset" -j2 --target zavi-gsm-cli
done

tmp=$(mktemp -d /tmp/zavi-e2e.XXXXXX)
export WINEPREFIX=$tmp/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
cleanup() {
    # Leftover programs of this prefix only; then the prefix itself.
    timeout 20 "$WINESERVER" -k >/dev/null 2>&1 || true
    rm -rf "$tmp"
}
trap cleanup EXIT

cat >"$tmp/run.sh" <<'INNER'
#!/usr/bin/env bash
# Runs inside xvfb-run: every program gets a time-out, and a failure of one step does not
# stop the others.
set -uo pipefail
root=$1 tmp=$2 filter=$3; shift 3
source "$root/scripts/wine_env.sh"  # for zavi_winpath; WINE and WINESERVER come exported
winpath() { zavi_winpath "$1"; }
failed=0
step() {  # step NAME SECONDS COMMAND...
    local name=$1 seconds=$2; shift 2
    local start=$SECONDS
    if timeout -k 5 "$seconds" "$@"; then
        echo "-- $name: ok ($((SECONDS - start)) s)"
    else
        echo "-- $name: FAILED (exit $?, $((SECONDS - start)) s)"
        failed=1
    fi
}

start=$SECONDS
timeout 180 "$WINE" wineboot -i >/dev/null 2>&1 || { echo "-- wine prefix: FAILED ($WINE wineboot -i)"; exit 1; }
timeout 60 "$WINESERVER" -w || true
echo "-- wine prefix ready ($((SECONDS - start)) s)"

for preset in "$@"; do
    build=$root/build/$preset
    echo "== $preset"
    step "$preset win32 layer checks" 120 "$WINE" "$build/win32/zavi_win32_checks.exe"

    smoke=$tmp/$preset-smoke
    mkdir -p "$smoke"
    cp "$build/sim/dll/ftd2xx_smoke.exe" "$build/sim/dll/FTD2XX.dll" "$smoke/"
    (cd "$smoke" && step "$preset drop-in FTD2XX.dll smoke" 60 "$WINE" ftd2xx_smoke.exe) || failed=1

    # The console tool beside the simulated FTD2XX.dll, whose module state lives in a file
    # between the runs: a backup, a restore of an edited copy, then diff against both.
    cli=$tmp/$preset-cli
    mkdir -p "$cli"
    cp "$build/cli/zavi-gsm-cli.exe" "$build/sim/dll/FTD2XX.dll" "$cli/"
    step "$preset zavi-gsm-cli backup and restore" 120 \
        env ZAVI_SIM_STATE="$(winpath "$cli/module.json")" bash -c '
            set -e
            cd "$1"
            "$WINE" zavi-gsm-cli.exe backup a.zavi.json
            sed "s/\"thermometer1_high\": 30/\"thermometer1_high\": 35/" a.zavi.json >b.zavi.json
            "$WINE" zavi-gsm-cli.exe restore b.zavi.json 2>err.txt || { cat err.txt; exit 1; }
            cat err.txt
            grep -q "restored and verified (alarm_settings)" err.txt
            grep -q "automatic backup: .*ZAVI-GSM.backups.*zavi.json" err.txt
            "$WINE" zavi-gsm-cli.exe diff b.zavi.json
            status=0; "$WINE" zavi-gsm-cli.exe diff a.zavi.json >diff.txt || status=$?
            [ "$status" -eq 1 ]
            grep -q "thermometer1_high: 35 -> 30" diff.txt
            # Windows device names are refused, and no temporary file stays behind.
            status=0; "$WINE" zavi-gsm-cli.exe backup NUL 2>nul.txt || status=$?
            [ "$status" -eq 5 ]
            grep -q "is a device name on Windows" nul.txt
            status=0; "$WINE" zavi-gsm-cli.exe numbers export Com1.csv 2>com.txt || status=$?
            [ "$status" -eq 5 ]
            grep -q "is a device name on Windows" com.txt
            ! ls -a | grep "\.tmp$"' _ "$cli"
    # A template and a sites table on the same module: the dry run writes nothing, the apply
    # writes the site's values, a label the table lacks is refused.
    step "$preset zavi-gsm-cli template and apply" 120 \
        env ZAVI_SIM_STATE="$(winpath "$cli/module.json")" bash -c '
            set -e
            cd "$1"
            "$WINE" zavi-gsm-cli.exe template a.zavi.json t.zavi.json --only io_names,auto_reset
            printf "site;io_names.out1_on;auto_reset.period_days\r\nShop 1;Syrena;2\r\n" >s.csv
            "$WINE" zavi-gsm-cli.exe apply t.zavi.json --sites s.csv --site "Shop 1" --dry-run >dry.txt
            grep -q "io_names.out1_on: \"Siren on\" -> \"Syrena\"" dry.txt
            if grep -q Syrena module.json; then echo "the dry run wrote"; exit 1; fi
            "$WINE" zavi-gsm-cli.exe apply t.zavi.json --sites s.csv --site "Shop 1" 2>err.txt ||
                { cat err.txt; exit 1; }
            grep -q "restored and verified (auto_reset, io_names (7-12))" err.txt
            grep -q Syrena module.json
            status=0; "$WINE" zavi-gsm-cli.exe apply t.zavi.json --sites s.csv --site X || status=$?
            [ "$status" -eq 5 ]' _ "$cli"

    shots=$build/e2e/shots
    rm -rf "$shots" && mkdir -p "$shots"
    report=$tmp/$preset-report.txt
    args=(--program "$(winpath "$build/win32/zavi-gsm.exe")"
          --library "$(winpath "$build/sim/dll/FTD2XX.dll")"
          --work "$(winpath "$tmp/$preset-cases")"
          --shots "$(winpath "$shots")"
          --report "$(winpath "$report")")
    [ -n "$filter" ] && args+=(--filter "$filter")
    # The module on COM5 for the COM port cases, fresh for each build; a case can have it
    # pulled and served anew through the control folder (scripts/e2e_com5.sh).
    com_journal=$tmp/$preset-com5.jsonl
    com_control=$tmp/$preset-com5
    # The demo module without its timeline: the COM port cases read its values as fixed.
    still_demo=$tmp/still-demo.json
    "$root/build/native/cli/zavi-gsm-cli" --sim --state "$tmp/demo-state.json" status >/dev/null
    jq '{modules: [{state: .modules[0].state}]}' "$tmp/demo-state.json" >"$still_demo"
    "$root/scripts/e2e_com5.sh" "$root/build/native/sim/serve/zavi-sim-serve" \
        "$WINEPREFIX/dosdevices/com5" "$com_journal" "$com_control" "$still_demo" &
    serve_pid=$!
    for _ in $(seq 50); do [ -s "$com_control/serve.txt" ] && break; sleep 0.1; done
    export ZAVI_E2E_COM_JOURNAL ZAVI_E2E_COM_CONTROL
    ZAVI_E2E_COM_JOURNAL=$(winpath "$com_journal")
    ZAVI_E2E_COM_CONTROL=$(winpath "$com_control")
    # A virtual desktop draws frames and menus, so the screenshots show them. The desktop's
    # exit status is not the driver's: the report file says how the run ended.
    start=$SECONDS
    timeout -k 5 600 "$WINE" explorer /desktop="zavi-e2e-$preset,1024x768" \
        "$build/e2e/zavi_e2e.exe" "${args[@]}" || echo "-- $preset end-to-end driver: killed or failed to start"
    if [ -f "$report" ] && grep -q '^RESULT: PASS' "$report"; then
        echo "-- $preset end-to-end driver: ok ($((SECONDS - start)) s)"
    else
        [ -f "$report" ] && cat "$report"
        echo "-- $preset end-to-end driver: FAILED ($((SECONDS - start)) s)"
        failed=1
    fi
    # Wine first: the server holds the pseudo-terminal, and the module going away first would
    # hang it up under the server's feet.
    timeout 20 "$WINESERVER" -k >/dev/null 2>&1 || true
    kill "$serve_pid" 2>/dev/null; wait "$serve_pid" 2>/dev/null

    # One pass at high DPI (the prefix's LogPixels; the server restarted so that every
    # program reads it): the main window and one dialog, screenshots in shots/dpiN/. The
    # x86_64 build only, and only when the filter asks for it or for everything.
    dpi=${ZAVI_E2E_DPI:-144}
    dpi_filter=${ZAVI_E2E_DPI_FILTER:-high_dpi}
    if [ "$preset" = win64 ] && { [ -z "$filter" ] || [[ "$filter" == *dpi* ]]; }; then
        start=$SECONDS
        "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f \
            >/dev/null 2>&1
        timeout 20 "$WINESERVER" -k >/dev/null 2>&1 || true
        mkdir -p "$shots/dpi$dpi"
        # The in-process checks measure every text against its control at this DPI too.
        step "$preset win32 layer checks at $dpi DPI" 120 "$WINE" "$build/win32/zavi_win32_checks.exe"
        dpi_report=$tmp/$preset-dpi-report.txt
        timeout -k 5 300 "$WINE" explorer /desktop="zavi-e2e-dpi,2000x1500" \
            "$build/e2e/zavi_e2e.exe" --program "$(winpath "$build/win32/zavi-gsm.exe")" \
            --library "$(winpath "$build/sim/dll/FTD2XX.dll")" \
            --work "$(winpath "$tmp/$preset-dpi-cases")" --shots "$(winpath "$shots/dpi$dpi")" \
            --report "$(winpath "$dpi_report")" --filter "$dpi_filter" || true
        if [ -f "$dpi_report" ] && grep -q '^RESULT: PASS' "$dpi_report"; then
            echo "-- $preset end-to-end at $dpi DPI: ok ($((SECONDS - start)) s)"
        else
            [ -f "$dpi_report" ] && cat "$dpi_report"
            echo "-- $preset end-to-end at $dpi DPI: FAILED ($((SECONDS - start)) s)"
            failed=1
        fi
        "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f \
            >/dev/null 2>&1
        timeout 20 "$WINESERVER" -k >/dev/null 2>&1 || true
    fi
done
exit $failed
INNER
chmod +x "$tmp/run.sh"

echo "== end-to-end under Wine ($presets)"
# shellcheck disable=SC2086
timeout 900 xvfb-run -a -s "-screen 0 2048x1536x24" "$tmp/run.sh" "$root" "$tmp" "$filter" $presets
