#!/usr/bin/env bash
# The Windows zavi-gsm-cli beside the drop-in simulated FTD2XX.dll under Wine, on a scenario
# whose status changes over a timeline: the walk test sees every input in both states, watch
# prints the changes and ends cleanly on SIGINT, the report names its backup's checksum.
# Needs the win64 build (build/win64); makes a fresh Wine prefix in a temporary folder.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine_env.sh
zavi_wine_setup
work=$(mktemp -d /tmp/zavi-cli-wine.XXXXXX)
cleanup() {
    WINEPREFIX="$work/prefix" "$WINESERVER" -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "cli_wine_check: $*" >&2; exit 1; }

cp build/win64/cli/zavi-gsm-cli.exe build/win64/sim/dll/FTD2XX.dll "$work/"
cat >"$work/timeline.json" <<'JSON'
{"modules": [{"state": {
  "io_state_text": ["Door closed", "Window closed", "Mains on", "Pump off", "Siren off", "Light on"],
  "io_names": ["Door open", "Door closed", "Window open", "Window closed", "Mains off", "Mains on",
               "Pump off", "Pump on", "Siren on", "Siren off", "Light on", "Light off"]},
  "timeline": {"repeat_every_s": 3.0, "events": [
    {"at_s": 0.5, "set": {"io_state_text": {"0": "Door open", "1": "Window open"}}},
    {"at_s": 1.0, "set": {"io_state_text": {"2": "Mains off", "3": "Pump on"}, "gsm_signal": 12}},
    {"at_s": 2.0, "set": {"io_state_text": {"0": "Door closed", "1": "Window closed",
                                            "2": "Mains on", "3": "Pump off"}}}]}}]}
JSON
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
timeout 180 "$WINE" wineboot -i >/dev/null 2>&1 || fail "no Wine prefix"
export ZAVI_SIM_SCENARIO
ZAVI_SIM_SCENARIO=$(zavi_winpath "$work/timeline.json")
cd "$work"
timeout 60 "$WINE" zavi-gsm-cli.exe test --seconds 20 >test.out 2>&1 || fail "test: $(cat test.out)"
grep -q 'seen P-IN-2 voltage "Pump on"' test.out || fail "test did not tick P-IN-2: $(cat test.out)"
timeout 60 "$WINE" zavi-gsm-cli.exe watch --interval 200 >watch.out 2>&1 &
watch=$!
sleep 4
kill -INT "$watch"
code=0
wait "$watch" || code=$?
[ "$code" = 0 ] || fail "watch after SIGINT exited $code: $(cat watch.out)"
grep -q "in1: Door closed -> Door open" watch.out || fail "watch saw no door: $(cat watch.out)"
grep -q "watch ended: " watch.out || fail "watch printed no summary"
timeout 60 "$WINE" zavi-gsm-cli.exe report site.html --language de >report.out 2>&1 ||
    fail "report: $(cat report.out)"
grep -q "$(sha256sum site.zavi.json | cut -d' ' -f1)" site.html || fail "report: wrong checksum"
grep -Eq 'T[0-9:]{8}[+-][0-9]{2}:[0-9]{2}<' site.html || fail "report: no UTC offset in its time"
echo "cli_wine_check: the Windows zavi-gsm-cli on the drop-in FTD2XX.dll follows the timeline"
