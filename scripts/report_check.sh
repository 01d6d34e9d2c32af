#!/usr/bin/env bash
# The commissioning commands on a full simulated module with a timeline, in-process (--sim) and
# over a pseudo-terminal (zavi-sim-serve), and the report in a real HTML parser and a real
# browser: valid HTML, no script or outside resource, a hostile name shown as text, A4 print
# of at most 3 pages, a PNG and a PDF of each language (build/report-check/report-LANG.*).
# Needs the native build (build/native). Takes well under a minute.
set -euo pipefail
cd "$(dirname "$0")/.."
cli=$(pwd)/build/native/cli/zavi-gsm-cli
serve=$(pwd)/build/native/sim/serve/zavi-sim-serve
py=/usr/bin/python3  # Debian's, with python3-html5lib
out=$(pwd)/build/report-check
rm -rf "$out" && mkdir -p "$out"
work=$(mktemp -d)
serve_pid=""
cleanup() {
    [ -n "$serve_pid" ] && kill "$serve_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "report_check: $*" >&2; exit 1; }

# A module with everything filled: 6 emergency and 260 accepted numbers, 40-character and
# hostile names, and a timeline that walks every input through both states within 3 s.
"$py" - "$work/full.json" <<'PY'
import json, sys
# Module texts are Latin-1: German umlauts fit, Polish letters do not.
names = ["<script>alert(1)</script>", "Tür geschlossen & \"gesichert\"",
         "W" * 40, "Fenster geschlossen", "Netz 230 V aus", "Netz 230 V ein",
         "Pumpe aus", "Pumpe ein", "Sirene ein", "Sirene aus", "Licht ein", "Licht aus"]
ev = lambda t, i, text: {"at_s": t, "set": {"io_state_text": {str(i): text}}}
scenario = {"timing": {"realistic": True, "baud": 9600, "latency_ms": 1, "answer_us": 2000},
  "modules": [{"state": {
    "io_names": names, "io_state_text": [names[1], names[3], names[5], names[6], names[9], names[10]],
    "emergency_numbers": ["4860010020%d" % i for i in range(6)],
    "accepted_numbers": ["48500%06d" % i for i in range(260)],
    "accept_all": 0, "pin": "1234", "gsm_signal": 17,
    "alarm_settings": [3, 0, 30, 0, 0, 5, 0, 0, 40, 0, 1, 10, 0, 20],
    "actions": [52, 52, 48, 48, 32, 32, 32, 32, 32]},
   "timeline": {"repeat_every_s": 4.0, "events": [
    ev(0.5, 0, names[0]), ev(0.8, 1, names[2]), ev(1.1, 2, names[4]), ev(1.4, 3, names[7]),
    {"at_s": 1.6, "set": {"gsm_signal": 8}},
    ev(1.9, 0, names[1]), ev(2.2, 1, names[3]), ev(2.5, 2, names[5]), ev(2.8, 3, names[6]),
    {"at_s": 3.0, "set": {"gsm_signal": 17}}]}}]}
json.dump(scenario, open(sys.argv[1], "w"), ensure_ascii=False)
PY

sim=("$cli" --sim --scenario "$work/full.json")
"${sim[@]}" test --seconds 30 --json >"$work/test.json" 2>"$work/test.err" || fail "test did not see every input"
"${sim[@]}" survey --seconds 4 --json >"$work/survey.json" || fail "survey failed"
grep -q '"verdict": "marginal"' "$work/survey.json" || fail "survey: expected a marginal verdict"

browser=(chromium --headless --no-sandbox --disable-gpu --no-first-run
         --disable-background-networking --disable-component-update --disable-sync --disable-quic)
for lang in pl en de; do
    html="$out/report-$lang.html"
    "${sim[@]}" report "$html" --site "Biuro <Łódź> & \"Sp.\"" --installer "Jan Kowalski" \
        --language $lang --test "$work/test.json" --survey "$work/survey.json" 2>/dev/null ||
        fail "report $lang failed"
    sum=$(sha256sum "$out/report-$lang.zavi.json" | cut -d' ' -f1)
    grep -q "$sum" "$html" || fail "$lang: the report does not name its backup's checksum"
    profile="$work/profile-$lang"
    timeout 60 "${browser[@]}" --user-data-dir="$profile" --window-size=900,3000 \
        --screenshot="$out/report-$lang.png" "file://$html" 2>/dev/null
    timeout 60 "${browser[@]}" --user-data-dir="$profile" --no-pdf-header-footer \
        --print-to-pdf="$out/report-$lang.pdf" "file://$html" 2>/dev/null
    timeout 60 "${browser[@]}" --user-data-dir="$profile" --dump-dom "file://$html" \
        >"$work/dom-$lang.html" 2>/dev/null
    "$py" - "$html" "$out/report-$lang.pdf" "$work/dom-$lang.html" <<'PY' || fail "$lang: see above"
import re, sys, html5lib
page, pdf, dom = sys.argv[1:4]
source = open(page, "rb").read()
# A strict parser raises on any parse error.
tree = html5lib.HTMLParser(strict=True, namespaceHTMLElements=False).parse(source)
bad = [e.tag for e in tree.iter() if e.tag in ("script", "iframe", "object", "embed", "link", "img")]
assert not bad, "elements that run or load something: %s" % bad
for e in tree.iter():
    for a in ("src", "href", "srcset", "action"):
        assert a not in e.attrib, "outside reference %s on <%s>" % (a, e.tag)
    assert not any(k.startswith("on") for k in e.attrib), "event handler on <%s>" % e.tag
text = source.decode("utf-8")
assert "url(" not in text and "@import" not in text, "CSS that loads something"
rendered = html5lib.parse(open(dom, "rb").read(), namespaceHTMLElements=False)
assert not [e for e in rendered.iter() if e.tag == "script"], "a script element in the page"
shown = "".join(rendered.find("body").itertext())
assert "<script>alert(1)</script>" in shown, "the hostile name is not shown as text"
pages = len(re.findall(rb"/Type\s*/Page(?![a-zA-Z])", open(pdf, "rb").read()))
assert 1 <= pages <= 3, "%d pages" % pages
media = re.search(rb"/MediaBox\s*\[\s*0\s+0\s+([\d.]+)\s+([\d.]+)", open(pdf, "rb").read())
assert media and abs(float(media.group(1)) - 595) < 2 and abs(float(media.group(2)) - 842) < 2, \
    "not A4: %s" % (media.groups() if media else None)
print("report %s: valid HTML, nothing runs or loads, %d A4 pages" % (page.rsplit("-", 1)[1][:2], pages))
PY
done

# The same commands over a serial line: the module on a pseudo-terminal.
"$serve" --scenario "$work/full.json" >"$work/serve.out" 2>"$work/serve.err" &
serve_pid=$!
for _ in $(seq 50); do [ -s "$work/serve.out" ] && break; sleep 0.1; done
pty=$(head -1 "$work/serve.out")
[ -e "$pty" ] || fail "zavi-sim-serve gave no pseudo-terminal"
port=("$cli" --port "$pty")
"${port[@]}" watch --interval 100 --log "$work/watch.csv" >"$work/watch.out" 2>"$work/watch.err" &
watch_pid=$!
sleep 3
kill -INT "$watch_pid"
code=0
wait "$watch_pid" || code=$?
[ "$code" = 0 ] || fail "watch after SIGINT exited $code: $(cat "$work/watch.err")"
grep -q "watch ended: " "$work/watch.err" || fail "watch printed no summary"
grep -q ",in1,.*<script>alert(1)</script>" "$work/watch.csv" || fail "watch logged no door change"
"${port[@]}" test --seconds 30 >"$work/port-test.out" || fail "test over the port"
"${port[@]}" survey --seconds 2 >"$work/port-survey.out" || fail "survey over the port"
grep -q "^verdict: " "$work/port-survey.out" || fail "survey over the port gave no verdict"
"${port[@]}" report "$work/port.html" 2>/dev/null || fail "report over the port"
grep -q "$(sha256sum "$work/port.zavi.json" | cut -d' ' -f1)" "$work/port.html" ||
    fail "report over the port: wrong checksum"
echo "report_check: watch (SIGINT), test, survey and report pass in-process and over a pty"
