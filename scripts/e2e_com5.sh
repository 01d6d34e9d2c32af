#!/usr/bin/env bash
# Plays the module on COM5 of a Wine prefix for the end-to-end cases (run by scripts/e2e.sh):
# zavi-sim-serve on a pseudo-terminal that LINK (dosdevices/com5) points to, with the demo
# module and JOURNAL. A case may ask for changes by writing "ID ACTION" to CONTROL/request;
# ID is written to CONTROL/done once the action is done:
#   pull          the link goes (the module is still served, as a port whose mapping is gone)
#   serve NAME    the module served so far stops; CONTROL/NAME.json is served on a new link,
#                 its journal in CONTROL/journal-NAME.jsonl
#   restore       the demo module with JOURNAL again, as at the start
#   e2e_com5.sh SERVE-PROGRAM LINK JOURNAL CONTROL [DEMO-SCENARIO]
# DEMO-SCENARIO: the demo module to serve (a still one, so that the cases read fixed values);
# without it the serve's own demo, whose status changes over time.
set -uo pipefail
serve=$1 link=$2 journal=$3 control=$4 demo=${5:-}
pid=""

start() {  # start JOURNAL [SCENARIO]
    local args=(--link "$link" --journal "$1")
    [ -n "${2:-}" ] && args+=(--scenario "$2")
    : >"$control/serve.txt"
    "$serve" "${args[@]}" >"$control/serve.txt" 2>&1 &
    pid=$!
    # It prints the pseudo-terminal's path once the link is made.
    for _ in $(seq 50); do [ -s "$control/serve.txt" ] && break; sleep 0.1; done
}
stop() {
    if [ -n "$pid" ]; then
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    fi
    pid=""
    rm -f "$link"
}
trap 'stop; exit 0' TERM INT

mkdir -p "$control"
start "$journal" "$demo"
last=""
while :; do
    if [ -f "$control/request" ]; then
        id="" action="" name=""
        read -r id action name <"$control/request" || true
        if [ -n "$id" ] && [ "$id" != "$last" ]; then
            last=$id
            case $action in
                pull) rm -f "$link" ;;
                serve)
                    stop
                    rm -f "$control/journal-$name.jsonl"
                    start "$control/journal-$name.jsonl" "$control/$name.json"
                    ;;
                restore)
                    stop
                    start "$journal" "$demo"
                    ;;
            esac
            echo "$id" >"$control/done.tmp" && mv "$control/done.tmp" "$control/done"
        fi
    fi
    sleep 0.1
done
