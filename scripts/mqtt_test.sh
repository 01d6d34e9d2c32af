#!/usr/bin/env bash
# zavi-gsm-cli mqtt against a real broker (mosquitto on a free loopback port) and the simulated
# module on a pseudo-terminal (zavi-sim-serve), watched with mosquitto_sub:
#   discovery messages, state that follows the module, only status reads reach the module,
#   offline on unplug and back on replug, the last will after kill -9, SIGTERM says offline,
#   a broker gone for 10 s (no crash, no busy loop) and its restart, a broker that resets or
#   stalls, TLS with its own CA, a wrong password, bad prefixes and password files.
# Needs build/native (zavi-gsm-cli, zavi-sim-serve). Starts and ends everything it uses.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
cli=$root/build/native/cli/zavi-gsm-cli
serve=$root/build/native/sim/serve/zavi-sim-serve
for tool in mosquitto mosquitto_sub mosquitto_passwd jq python3; do
    command -v "$tool" >/dev/null || { echo "mqtt_test: $tool is missing (scripts/setup.sh)"; exit 1; }
done
for binary in "$cli" "$serve"; do
    [ -x "$binary" ] || { echo "mqtt_test: $binary is missing (build the native preset)"; exit 1; }
done

work=$(mktemp -d)
declare -A pids=()
failures=0
cleanup() {
    for name in "${!pids[@]}"; do kill -KILL "${pids[$name]}" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok:   $*"; }
stop() { # name [signal]
    local pid=${pids[$1]:-}
    [ -n "$pid" ] || return 0
    kill -"${2:-TERM}" "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    local code=$?
    unset "pids[$1]"
    return $code
}

free_port() {
    python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

port=$(free_port)
start_broker() { # config-file
    mosquitto -c "$1" >>"$work/broker.log" 2>&1 &
    pids[broker]=$!
    for _ in $(seq 50); do
        (exec 3<>/dev/tcp/127.0.0.1/"$port") 2>/dev/null && return 0
        sleep 0.1
    done
    echo "mqtt_test: the broker did not start"; cat "$work/broker.log"; exit 1
}
printf 'listener %s 127.0.0.1\nallow_anonymous true\n' "$port" >"$work/open.conf"

# The retained payload of a topic, or "" when there is none.
sub_auth=()
retained() { mosquitto_sub -p "$port" "${sub_auth[@]}" -t "$1" -C 1 -W 1 2>/dev/null; }
# Waits up to $3 seconds until the retained payload of $1 satisfies the jq filter $2.
wait_for() {
    local deadline=$((SECONDS + $3)) value
    while [ $SECONDS -lt "$deadline" ]; do
        value=$(retained "$1")
        # Plain payloads ("online") as strings, JSON ones as their values.
        if [ -n "$value" ] &&
            jq -R -e ". as \$raw | (try fromjson catch \$raw) | $2" >/dev/null 2>&1 <<<"$value"
        then return 0; fi
        sleep 0.2
    done
    echo "   last $1: ${value:-nothing}"
    return 1
}
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

start_module() { # scenario-file
    "$serve" --scenario "$1" --journal "$work/journal.jsonl" --link "$work/tty" >/dev/null 2>&1 &
    pids[module]=$!
    for _ in $(seq 50); do [ -e "$work/tty" ] && return 0; sleep 0.1; done
    echo "mqtt_test: zavi-sim-serve did not start"; exit 1
}
start_bridge() { # name log args...
    local name=$1 log=$2
    shift 2
    "$cli" "$@" 2>"$log" &
    pids[$name]=$!
}

# A module whose first input opens and closes again while the bridge watches it; the other
# one is what is plugged in after the unplug.
cat >"$work/timeline.json" <<'EOF'
{"modules": [{"state": {"gsm_signal": 20, "operator_name": "Plus",
                        "io_state_text": ["Door closed", "", "", "", "Off", "Off"]},
  "timeline": {"repeat_every_s": 6.0,
               "events": [{"at_s": 2.0, "set": {"io_state_text": {"0": "Door open"}}},
                          {"at_s": 4.0, "set": {"io_state_text": {"0": "Door closed"}}}]}}]}
EOF
cat >"$work/replugged.json" <<'EOF'
{"modules": [{"state": {"gsm_signal": 12, "operator_name": "Orange", "battery_flags": 128,
                        "io_state_text": ["Window open", "", "", "", "On", "Off"]}}]}
EOF
# Without the simulator's timeline the first module is a plain one.
"$serve" --scenario "$work/timeline.json" --link "$work/probe" </dev/null >/dev/null 2>&1 &
probe=$!
sleep 0.5
has_timeline=0
if kill -0 $probe 2>/dev/null; then has_timeline=1; kill $probe; wait $probe 2>/dev/null; fi
if [ $has_timeline = 0 ]; then
    echo "note: this simulator has no timeline; the state changes are checked by a replug only"
    jq 'del(.modules[0].timeline)' "$work/timeline.json" >"$work/plain.json"
    cp "$work/plain.json" "$work/timeline.json"
fi

cat >"$work/fake_broker.py" <<'EOF'
# Takes connections and either resets each at once or holds it without a word.
import socket, sys
s = socket.socket()
s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
s.bind(("127.0.0.1", int(sys.argv[1])))
s.listen(8)
held = []
while True:
    c = s.accept()[0]
    if sys.argv[2] == "reset":
        c.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, b"\x01\0\0\0\0\0\0\0")
        c.close()
    else:
        held.append(c)
EOF
stall_port=$(free_port)
python3 "$work/fake_broker.py" "$stall_port" stall >/dev/null 2>&1 &
pids[stall_broker]=$!
for _ in $(seq 50); do (exec 3<>/dev/tcp/127.0.0.1/"$stall_port") 2>/dev/null && break; sleep 0.1; done
stall_started=$SECONDS
start_bridge stall "$work/stall.log" --sim mqtt --broker "127.0.0.1:$stall_port" --interval 1

start_broker "$work/open.conf"
start_module "$work/timeline.json"
prefix="test/zavi gsm"
start_bridge bridge "$work/bridge.log" --port "$work/tty" mqtt --broker "127.0.0.1:$port" \
    --interval 0.5 --topic-prefix "$prefix"

# Discovery: retained, valid JSON, with what Home Assistant needs.
if wait_for "$prefix/availability" '. == "online"' 10; then pass "online"; else fail "online"; fi
mosquitto_sub -p "$port" -t 'homeassistant/sensor/test_zavi_gsm/+/config' -v -W 2 \
    >"$work/discovery.txt" 2>/dev/null
count=$(grep -c . "$work/discovery.txt")
bad=$(while read -r topic payload; do
    jq -e --arg p "$prefix" '(.name and .unique_id and .value_template and .device.name
        and (.device.identifiers | length) > 0 and .state_topic == ($p + "/state")
        and .availability_topic == ($p + "/availability"))' >/dev/null <<<"$payload" ||
        echo "$topic"
done <"$work/discovery.txt")
if [ "$count" = 13 ] && [ -z "$bad" ]; then
    pass "13 retained discovery messages with the keys Home Assistant needs"
else
    fail "discovery: $count messages, bad: $bad"
fi
if wait_for "$prefix/state" '.operator == "Plus" and .gsm_signal_dbm == -73 and .temperature1 != null' 5; then
    pass "state"
else fail "state"; fi

if [ $has_timeline = 1 ]; then
    if wait_for "$prefix/state" '.in1 == "Door open"' 8 && wait_for "$prefix/state" '.in1 == "Door closed"' 8
    then pass "state follows the module's timeline (door open, closed)"
    else fail "state does not follow the timeline"; fi
fi

# Unplug: the port goes away.
stop module
if wait_for "$prefix/availability" '. == "offline"' 10; then pass "offline on unplug"; else fail "no offline on unplug"; fi
start_module "$work/replugged.json"
if wait_for "$prefix/availability" '. == "online"' 10 &&
    wait_for "$prefix/state" '.operator == "Orange" and .in1 == "Window open" and .battery_percent == null and .gsm_signal_dbm == -89' 5
then pass "back online after replug, with the new module's state"
else fail "replug"; fi

# The broker gone for 10 s: the bridge lives on and does not spin.
stop broker
before=$(cpu_ticks "${pids[bridge]}")
sleep 10
after=$(cpu_ticks "${pids[bridge]}")
ticks=$((after - before))
hz=$(getconf CLK_TCK)
if kill -0 "${pids[bridge]}" 2>/dev/null && [ "$ticks" -lt $((hz / 2)) ]; then
    pass "broker gone for 10 s: bridge alive, $ticks/$hz s of CPU"
else fail "broker gone: alive? cpu ticks $ticks"; fi
start_broker "$work/open.conf"
# The restarted broker kept nothing; the bridge publishes it all again.
if wait_for "$prefix/availability" '. == "online"' 15 &&
    wait_for "homeassistant/sensor/test_zavi_gsm/operator/config" '.unique_id' 3 &&
    wait_for "$prefix/state" '.operator == "Orange"' 3
then pass "reconnected after the broker's restart, discovery and state again"
else fail "no reconnect after the broker's restart"; fi
grep -q "lost the connection" "$work/bridge.log" && grep -q "connected again" "$work/bridge.log" ||
    fail "the log does not tell the loss and the reconnection: $(cat "$work/bridge.log")"

# kill -9: only the broker can say offline now (the last will).
stop bridge KILL
if wait_for "$prefix/availability" '. == "offline"' 5; then pass "last will after kill -9"; else fail "no last will"; fi

# Nothing but the firmware check and status reads reached the module.
commands=$(jq -s -c '[.[] | select(.valid) | .command] | unique' "$work/journal.jsonl")
if jq -e 'all(. as $c | [7,10,12,14,15,17,19,21,23,25,27] | index($c) | not) and index(8) != null' \
        >/dev/null <<<"$commands"
then pass "the module received only reads: commands $commands"
else fail "the module received $commands"; fi

# SIGTERM: offline published before the bridge ends, exit 0.
start_bridge sim "$work/sim.log" --sim mqtt --broker "127.0.0.1:$port" --topic-prefix t2
wait_for t2/availability '. == "online"' 10 || fail "t2 online"
stop sim TERM
code=$?
if [ $code = 0 ] && [ "$(retained t2/availability)" = offline ]; then pass "SIGTERM: offline, exit 0"
else fail "SIGTERM: exit $code, availability $(retained t2/availability)"; fi

# Refused input, before anything connects.
expect_exit() { # code text args...
    local want=$1 text=$2
    shift 2
    timeout 20 "$cli" "$@" >/dev/null 2>"$work/out.txt"
    local got=$?
    if [ $got = "$want" ] && grep -q -- "$text" "$work/out.txt"; then pass "exit $want: $text"
    else fail "$* -> exit $got: $(cat "$work/out.txt")"; fi
}
expect_exit 2 "wildcard" --sim mqtt --broker "127.0.0.1:$port" --topic-prefix 'a/#'
expect_exit 2 "wildcard" --sim mqtt --broker "127.0.0.1:$port" --topic-prefix 'a/+/b'
expect_exit 2 "empty level" --sim mqtt --broker "127.0.0.1:$port" --topic-prefix '/a'
expect_exit 2 "port must be" --sim mqtt --broker "127.0.0.1:99999"
expect_exit 5 "does not exist" --sim mqtt --broker "127.0.0.1:$port" --username u --password-file "$work/none"
expect_exit 2 "needs --username" --sim mqtt --broker "127.0.0.1:$port" --password-file "$work/none"

# TLS: a broker with its own certificate, trusted through --cafile; without it the bridge
# does not take the broker's word.
stop broker
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=localhost \
    -addext subjectAltName=DNS:localhost -keyout "$work/key.pem" -out "$work/cert.pem" \
    >/dev/null 2>&1
chmod 755 "$work" && chmod 644 "$work/key.pem" "$work/cert.pem"
printf 'listener %s 127.0.0.1\nallow_anonymous true\ncertfile %s\nkeyfile %s\n' "$port" \
    "$work/cert.pem" "$work/key.pem" >"$work/tls.conf"
start_broker "$work/tls.conf"
start_bridge tls "$work/tls.log" --sim mqtt --broker "localhost:$port" --tls --cafile "$work/cert.pem" \
    --topic-prefix tls
start_bridge untrusted "$work/untrusted.log" --sim mqtt --broker "localhost:$port" --tls \
    --topic-prefix untrusted
sub_auth=(-h localhost --cafile "$work/cert.pem")
if wait_for tls/state '.operator != null' 10 && wait_for tls/availability '. == "online"' 3 &&
    [ -z "$(retained untrusted/availability)" ] && grep -q "TLS error" "$work/untrusted.log"
then pass "TLS with --cafile; a broker the system does not trust is not used"
else fail "TLS: $(cat "$work/tls.log" "$work/untrusted.log")"; fi
stop tls TERM
stop untrusted TERM
sub_auth=()

# A broker with passwords: a wrong one ends the bridge with a clear message.
stop broker
mosquitto_passwd -b -c "$work/passwd" alarm right-one >/dev/null 2>&1
# A broker started as root reads its files as the user mosquitto.
chmod 755 "$work" && chmod 644 "$work/passwd"
printf 'listener %s 127.0.0.1\nallow_anonymous false\npassword_file %s\n' "$port" "$work/passwd" >"$work/auth.conf"
start_broker "$work/auth.conf"
printf 'wrong-one\n' >"$work/wrong"; chmod 600 "$work/wrong"
expect_exit 7 "refused the connection: .*check --username and --password-file" \
    --sim mqtt --broker "127.0.0.1:$port" --username alarm --password-file "$work/wrong"
printf 'right-one\n' >"$work/right"; chmod 644 "$work/right"
start_bridge auth "$work/auth.log" --sim mqtt --broker "127.0.0.1:$port" --username alarm --password-file "$work/right"
sub_auth=(-u alarm -P right-one)
wait_for "zavi-gsm/availability" '. == "online"' 10
stop auth TERM
sub_auth=()
if grep -q "connected to the broker" "$work/auth.log" && grep -q "warning: .*can be read by other users" "$work/auth.log"
then pass "right password connects; a readable password file is warned about"
else fail "right password: $(cat "$work/auth.log")"; fi
stop broker

# A broker that resets every connection.
python3 "$work/fake_broker.py" "$port" reset >/dev/null 2>&1 &
pids[fake]=$!
sleep 0.5
start_bridge reset "$work/reset.log" --sim mqtt --broker "127.0.0.1:$port" --interval 1
sleep 4
before=$(cpu_ticks "${pids[reset]}")
sleep 3
ticks=$(( $(cpu_ticks "${pids[reset]}") - before ))
stop reset TERM
code=$?
if [ $code = 0 ] && [ $ticks -lt $((hz / 2)) ] && grep -q "trying again with back-off" "$work/reset.log"
then pass "a broker that resets: retried with back-off, $ticks ticks of CPU, SIGTERM ends it"
else fail "reset broker: exit $code, $ticks ticks: $(cat "$work/reset.log")"; fi
stop fake KILL

# The stalled broker from the start: given up after the keep-alive time, tried again.
while [ $SECONDS -lt $((stall_started + 40)) ] && ! grep -q "(no answer" "$work/stall.log"; do
    sleep 0.5
done
ticks=$(cpu_ticks "${pids[stall]}")
t0=$SECONDS
stop stall TERM
code=$?
if [ $code = 0 ] && [ $((SECONDS - t0)) -le 3 ] && [ "$ticks" -lt "$hz" ] &&
    grep -q "(no answer" "$work/stall.log" && ! grep -q "Connection refused" "$work/stall.log"
then pass "a broker that stalls: given up and retried, $ticks ticks of CPU, SIGTERM ends it at once"
else fail "stalled broker: exit $code after $((SECONDS - t0)) s, $ticks ticks: $(cat "$work/stall.log")"; fi

echo "the first bridge's messages:"
sed 's/^/   /' "$work/bridge.log"
echo
if [ $failures -gt 0 ]; then echo "mqtt_test: $failures failed"; exit 1; fi
echo "mqtt_test: all passed"
