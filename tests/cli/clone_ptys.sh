#!/usr/bin/env bash
# clone onto four modules, each zavi-sim-serve on its own pseudo-terminal: A and D fine, B
# silent from its first write on, C unplugged (its serve killed) while its numbers go out. A
# and D end up holding the file; B and C are reported with their automatic backups, and the
# exit code is not 0. With TIMING=1 it then times a clone onto one port, onto four and onto
# eight.
#   clone_ptys.sh ZAVI-GSM-CLI ZAVI-SIM-SERVE
set -u
cli=$1 serve=$2
work=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null && wait "$p" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
export XDG_DATA_HOME=$work/data
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# start NAME [SCENARIO]: serves the demo module; its port in port_NAME, its pid in pid_NAME.
start() {
    local name=$1 args=(--state "$work/$1.state.json" --journal "$work/$1.jsonl")
    [ -n "${2:-}" ] && args+=(--scenario "$work/$2")
    cp "$work/demo.json" "$work/$name.state.json"
    "$serve" "${args[@]}" >"$work/$name.port" &
    pids+=($!)
    eval "pid_$name=$!"
    for _ in $(seq 100); do [ -s "$work/$name.port" ] && break; sleep 0.05; done
    eval "port_$name=\$(head -1 \"\$work/\$name.port\")"
}

"$cli" --sim --state "$work/demo.json" status >/dev/null || fail "demo state"
start probe
"$cli" --port "$port_probe" backup "$work/before.zavi.json" 2>/dev/null || fail "first backup"
# The file: the demo module with auto-reset every 3 days and 80 numbers (three blocks).
awk '/"accepted_numbers": \[/ { print; for (i = 0; i < 80; i++) printf "    \"4860000%d\"%s\n", 1000 + i, (i < 79 ? "," : ""); skip = 1; next }
     skip && /^  \]/ { skip = 0 }
     /"period_days"/ { sub(/[0-9]+/, "3") }
     !skip' "$work/before.zavi.json" >"$work/new.zavi.json"

# B answers nothing from its first write (auto-reset, 21) on; C's third numbers block is slow.
cat >"$work/silent.json" <<'JSON'
{"modules": [{"faults": [{"kind": "no_answer", "command": 21}, {"kind": "no_answer", "command": 20, "skip": 1},
                         {"kind": "no_answer", "command": 17}, {"kind": "no_answer", "command": 16, "skip": 1}]}]}
JSON
cat >"$work/slow.json" <<'JSON'
{"modules": [{"faults": [{"kind": "delay", "command": 17, "sub_index": 2, "value": 1500000}]}]}
JSON
start A
start B silent.json
start C slow.json
start D
"$cli" clone "$work/new.zavi.json" --ports "$port_A,$port_B,$port_C,$port_D" --json \
    >"$work/out" 2>"$work/err" &
cli_pid=$!
for _ in $(seq 300); do
    grep -q '"command":17,"data":"02' "$work/C.jsonl" 2>/dev/null && break
    sleep 0.02
done
kill -9 "$pid_C"
wait "$pid_C" 2>/dev/null
wait "$cli_pid"
code=$?
[ "$code" != 0 ] || fail "exit 0 with two modules failed"

line() { sed -n "$1p" "$work/out"; }
field() { line "$1" | sed -n "s/.*\"$2\":\\(\"[^\"]*\"\\|[a-z]*\\).*/\\1/p" | tr -d '"'; }
[ "$(wc -l <"$work/out")" = 4 ] || fail "not four result lines"
n=0
for want in "A verified" "B write-failed" "C write-failed" "D verified"; do
    n=$((n + 1))
    set -- $want
    eval "port=\$port_$1"
    [ "$(field $n port)" = "$port" ] || fail "line $n is not port $1"
    [ "$(field $n result)" = "$2" ] || fail "$1: $(field $n result), not $2"
    backup=$(field $n backup)
    [ -n "$backup" ] && [ -f "$backup" ] || fail "$1: no automatic backup"
    grep -q "$port: automatic backup: $backup" "$work/err" || fail "$1: backup not told"
done
grep -q "$port_B: unknown: auto_reset" "$work/err" || fail "B: its unanswered write not unknown"
grep -q "$port_C: writing accepted_numbers failed" "$work/err" || fail "C: no failed write"
grep -q "$port_C: the way back, what the module held before" "$work/err" || fail "C: no way back"
# What A and D hold now is the file.
for m in A D; do
    eval "port=\$port_$m"
    "$cli" --port "$port" diff "$work/new.zavi.json" >"$work/diff" 2>&1 ||
        fail "$m does not hold the file: $(head -3 "$work/diff")"
done
# B took the auto-reset write and nothing of the numbers.
grep -q '"command":21' "$work/B.jsonl" || fail "B: no write went out"
grep -q '"command":17' "$work/B.jsonl" && fail "B: a write after the silence"
[ "$failures" = 0 ] || cat "$work/out" "$work/err" >&2

if [ "${TIMING:-0}" = 1 ]; then
    cat >"$work/line.json" <<'JSON'
{"modules": [{}], "timing": {"realistic": true}}
JSON
    ports=()
    timed=(T1 T2 T3 T4 T5 T6 T7 T8)
    for m in "${timed[@]}"; do start $m line.json; eval "ports+=(\$port_$m)"; done
    for n in 1 4 8; do
        list=$(IFS=,; echo "${ports[*]:0:$n}")
        for m in "${timed[@]}"; do cp "$work/demo.json" "$work/$m.state.json"; done
        start_s=$(date +%s.%N)
        "$cli" clone "$work/new.zavi.json" --ports "$list" >/dev/null 2>&1 || fail "timed clone onto $n"
        end_s=$(date +%s.%N)
        echo "clone onto $n pseudo-terminals: $(echo "$end_s - $start_s" | bc) s"
    done
fi
[ "${SHOW:-0}" = 1 ] && cat "$work/out" "$work/err"
[ "$failures" = 0 ] && echo "clone on four pseudo-terminals: ok"
exit $((failures > 0))
