#!/usr/bin/env bash
# The Windows zavi-gsm-cli beside the drop-in simulated FTD2XX.dll under Wine, on a scenario
# whose status changes over a timeline: the walk test sees every input in both states, watch
# prints the changes and ends cleanly on SIGINT, the report names its backup's checksum. Then
# clone on several simulated D2XX devices at once: two set up with their sites, and of three the
# one that falls silent mid-write fails alone.
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

# clone: the D2XX devices by index, each on its own thread and binding of the library. The
# target differs from the demo module in the auto-reset period and holds 80 numbers (three
# blocks of the numbers write), so that a module can fail in the middle of its writes.
timeout 60 "$WINE" zavi-gsm-cli.exe --sim backup demo.zavi.json >demo.out 2>&1 ||
    fail "backup of the demo module: $(cat demo.out)"
/usr/bin/python3 - demo.zavi.json target.zavi.json <<'PY'
import json, sys
j = json.load(open(sys.argv[1]))
j["auto_reset"]["period_days"] = 3
j["accepted_numbers"] = ["4860000%d" % (1000 + i) for i in range(80)]
json.dump(j, open(sys.argv[2], "w"), indent=2)
PY
printf 'site;auto_reset.period_days\nnorth;2\nsouth;4\neast;5\n' >sites.csv
echo '{"modules": [{"serial": "FT0A1B2C"}, {"serial": "FT3D4E5F"}]}' >two.json
ZAVI_SIM_SCENARIO=$(zavi_winpath "$work/two.json")
timeout 120 "$WINE" zavi-gsm-cli.exe clone target.zavi.json --sites sites.csv >clone2.out \
    2>clone2.err || fail "clone of two: $(cat clone2.out clone2.err)"
grep -q '^D2XX:0  FT0A1B2C  north  verified' clone2.out || fail "clone D2XX:0: $(cat clone2.out)"
grep -q '^D2XX:1  FT3D4E5F  south  verified' clone2.out || fail "clone D2XX:1: $(cat clone2.out)"
grep -q 'clone: 2 of 2 modules set up' clone2.err || fail "clone summary: $(cat clone2.err)"
# Each clone's history entry carries its site.
timeout 60 "$WINE" zavi-gsm-cli.exe history FT3D4E5F >history.out 2>&1 ||
    fail "history: $(cat history.out)"
grep -q 'FT3D4E5F  clone  verified  site south' history.out || fail "history: $(cat history.out)"

# clone --ports all onto three D2XX devices, the middle one falling silent after the first
# block of its numbers: the other two are set up and verified, the silent one is reported with
# its backup, and its unanswered block as unknown (it may have been stored), never as not
# written. Each device runs on its own simulated driver, so the silent one holds up no other.
cat >three.json <<'JSON'
{"modules": [{"serial": "FTAAAA01"},
             {"serial": "FTBBBB02",
              "faults": [{"kind": "no_answer", "command": 17, "skip": 1},
                         {"kind": "no_answer", "command": 16, "skip": 1}]},
             {"serial": "FTCCCC03"}]}
JSON
ZAVI_SIM_SCENARIO=$(zavi_winpath "$work/three.json")
code=0
ZAVI_SIM_JOURNAL=$(zavi_winpath "$work/three.jsonl") timeout 120 "$WINE" zavi-gsm-cli.exe clone \
    target.zavi.json --ports all >clone3.out 2>clone3.err || code=$?
said() { cat clone3.out clone3.err; }
told() { grep -q "^zavi-gsm-cli: D2XX:$1" clone3.err || fail "clone3: not told D2XX:$1: $(said)"; }
[ "$code" = 4 ] || fail "clone with one silent exited $code: $(said)"
[ "$(wc -l <clone3.out)" = 3 ] || fail "clone3: not three result lines: $(said)"
grep -q '^D2XX:0  FTAAAA01  -  verified' clone3.out || fail "clone3 D2XX:0: $(said)"
grep -q '^D2XX:1  FTBBBB02  -  write-failed' clone3.out || fail "clone3 D2XX:1: $(said)"
grep -q '^D2XX:2  FTCCCC03  -  verified' clone3.out || fail "clone3 D2XX:2: $(said)"
grep -q 'clone: 2 of 3 modules set up' clone3.err || fail "clone3 summary: $(said)"
for n in 0 1 2; do told "$n: automatic backup: "; done
told '1: writing accepted_numbers failed: the module did not acknowledge block 2 of 8'
told '1: partly written: accepted_numbers (block 1 of 8 acknowledged, block 2 sent without an '\
'acknowledgement and may or may not be stored'
told '1: read back after the failure: the module did not answer for accepted_numbers'
told '1: the way back, what the module held before: '
grep '^zavi-gsm-cli: D2XX:1: not written: ' clone3.err | grep -q accepted_numbers &&
    fail "clone3: the unanswered block called not written: $(said)"
# What each device took: the silent one two numbers blocks and no names after them, the
# others every write.
took() {
    grep "\"command\":$2,\"data\":\"[^\"]*\",\"event\":\"frame\",\"module\":$1," three.jsonl | wc -l
}
[ "$(took 1 17)" = 2 ] || fail "clone3: D2XX:1 took $(took 1 17) numbers blocks, not 2"
[ "$(took 1 25)" = 0 ] || fail "clone3: D2XX:1 took names after its silence"
for n in 0 2; do
    [ "$(took $n 17)" = 8 ] && [ "$(took $n 25)" = 2 ] ||
        fail "clone3: D2XX:$n took $(took $n 17) numbers blocks and $(took $n 25) name halves"
done
# Each device's history: the two verified, the silent one as failed.
for row in "FTAAAA01 verified" "FTBBBB02 write-failed" "FTCCCC03 verified"; do
    set -- $row
    timeout 60 "$WINE" zavi-gsm-cli.exe history "$1" >history3.out 2>&1 ||
        fail "history $1: $(cat history3.out)"
    grep -q "  $1  clone  $2  " history3.out || fail "history $1: $(cat history3.out)"
done
# A port named that is neither COMn nor D2XX:n fails alone.
code=0
timeout 120 "$WINE" zavi-gsm-cli.exe clone target.zavi.json --ports D2XX:0,nonsense >clone4.out \
    2>clone4.err || code=$?
[ "$code" = 3 ] || fail "clone with a bad port name exited $code: $(cat clone4.out clone4.err)"
grep -q '^D2XX:0  FTAAAA01  -  verified' clone4.out || fail "clone4 D2XX:0: $(cat clone4.out)"
grep -q '^nonsense  identity-unknown  -  not-opened' clone4.out || fail "clone4: $(cat clone4.out)"
echo "cli_wine_check: the Windows zavi-gsm-cli on the drop-in FTD2XX.dll follows the timeline" \
    "and clones D2XX devices side by side"
