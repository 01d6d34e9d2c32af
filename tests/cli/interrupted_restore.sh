#!/usr/bin/env bash
# A restore interrupted by SIGINT, SIGTERM and SIGHUP while the module (zavi-sim-serve on a
# pseudo-terminal, its answer to the third numbers block slowed) takes that block: the tool
# lets that frame finish, sends nothing after it, reports what went out and the automatic
# backup on stderr, and exits 128 + the signal. Restoring that backup gives the module back.
#   interrupted_restore.sh ZAVI-GSM-CLI ZAVI-SIM-SERVE
set -u
set -m  # background jobs keep SIGINT (without job control bash starts them with it ignored)
cli=$1 serve=$2
work=$(mktemp -d)
serve_pid=
cleanup() {
    [ -n "$serve_pid" ] && kill "$serve_pid" 2>/dev/null && wait "$serve_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
export XDG_DATA_HOME=$work/data
failures=0
fail() {
    echo "FAIL ($signal): $*" >&2
    failures=$((failures + 1))
}

# Serves the module kept in $work/state.json; with "slow", block 3's answer comes 1.5 s late.
start_serve() {
    local args=(--state "$work/state.json" --journal "$work/journal.jsonl")
    [ "$1" = slow ] && args+=(--scenario "$work/slow.json")
    : >"$work/journal.jsonl"
    # Emptied here, not by the background job's redirection, which may come too late: the wait
    # below would then read the port of the serve stopped before, which no longer exists.
    : >"$work/port"
    "$serve" "${args[@]}" >"$work/port" &
    serve_pid=$!
    # Up to 20 s: a loaded machine can be slow to start it.
    for _ in $(seq 400); do [ -s "$work/port" ] && break; sleep 0.05; done
    port=$(head -1 "$work/port")
}
stop_serve() {
    kill "$serve_pid" && wait "$serve_pid"
    serve_pid=
}
without_time() { grep -v '"saved_at"' "$1"; }

cat >"$work/slow.json" <<'JSON'
{"modules": [{"faults": [{"kind": "delay", "command": 17, "sub_index": 2, "value": 1500000}]}]}
JSON

for signal in INT TERM HUP; do
    case $signal in INT) code=130 ;; TERM) code=143 ;; HUP) code=129 ;; esac
    rm -rf "$work/state.json" "$work/data"
    # The demo module, kept in the state file that every serve below loads.
    "$cli" --sim --state "$work/state.json" status >/dev/null || fail "demo state"
    start_serve fast
    "$cli" --port "$port" backup "$work/before.zavi.json" 2>/dev/null || fail "first backup"
    # The file: the same module with 150 numbers, five blocks of them.
    awk '/"accepted_numbers": \[/ { print; for (i = 0; i < 150; i++) printf "    \"4860000%d\"%s\n", 1000 + i, (i < 149 ? "," : ""); skip = 1; next }
         skip && /^  \]/ { skip = 0 }
         !skip' "$work/before.zavi.json" >"$work/new.zavi.json"
    stop_serve

    start_serve slow
    "$cli" --port "$port" restore "$work/new.zavi.json" 2>"$work/err" &
    cli_pid=$!
    # The third block (data "02...") reaches the module; its answer is 1.5 s away.
    for _ in $(seq 200); do
        grep -q '"command":17,"data":"02' "$work/journal.jsonl" && break
        sleep 0.02
    done
    sleep 0.2
    kill -s "$signal" "$cli_pid"
    wait "$cli_pid"
    got=$?
    sleep 0.3  # anything the tool still sent would now be in the journal
    stop_serve
    [ "$got" = "$code" ] || fail "exit $got, not $code"
    last=$(tail -1 "$work/journal.jsonl")
    case $last in *'"command":17,"data":"02'*) ;; *) fail "a frame followed block 3: $last" ;; esac
    grep -q "interrupted by SIG$signal; nothing was sent after the frame in flight" "$work/err" ||
        fail "no interruption line"
    grep -q "partly written: accepted_numbers (blocks 1-3 of 8 acknowledged; the module's list is now incomplete)" "$work/err" ||
        fail "no partly written line"
    # The backup is told first, before any write went out.
    backup=$(head -1 "$work/err" | sed -n 's/^zavi-gsm-cli: automatic backup: //p')
    [ -n "$backup" ] && [ -f "$backup" ] || fail "no automatic backup named"
    grep -q "zavi-gsm-cli restore $backup" "$work/err" || fail "no way back named"
    [ "$failures" = 0 ] || cat "$work/err" >&2

    # The way back.
    start_serve fast
    "$cli" --port "$port" restore "$backup" 2>/dev/null || fail "restoring the backup"
    "$cli" --port "$port" backup "$work/after.zavi.json" 2>/dev/null || fail "last backup"
    stop_serve
    diff <(without_time "$work/before.zavi.json") <(without_time "$work/after.zavi.json") |
        head -20 >&2
    cmp -s <(without_time "$work/before.zavi.json") <(without_time "$work/after.zavi.json") ||
        fail "the module is not back as it was"
done
[ "$failures" = 0 ] && echo "interrupted restores: ok"
exit $((failures > 0))
