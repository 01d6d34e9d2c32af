#!/usr/bin/env bash
# Tests the choice of Wine loader in scripts/wine_env.sh against fake loaders: one that starts,
# one that the kernel refuses ("Exec format error"), one that is not there.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD

tmp=$(mktemp -d /tmp/zavi-wine-env-test.XXXXXX)
trap 'rm -rf "$tmp"' EXIT

# make_fake FILE KIND: ok starts and prints a version, refused fails as a 32-bit program does on
# a kernel without 32-bit support, missing is no file at all.
make_fake() {
    case "$2" in
        ok) printf '#!/bin/sh\necho wine-8.0\n' >"$1" ;;
        refused) printf '#!/bin/sh\necho "$0: cannot execute binary file: Exec format error" >&2\nexit 126\n' >"$1" ;;
        missing) return ;;
    esac
    chmod +x "$1"
}

# Columns: name | 32-bit loader | 64-bit loader | 64-bit server | ZAVI_WINE | expected: path,
#          presets that run, loader, server, WINELOADER; or "error" and words of the message.
rows=(
    "both run|ok|ok|ok||32|win32 win64|wine|wineserver64|"
    "kernel refuses 32-bit|refused|ok|ok||64|win64|wine64|wineserver64|wine64"
    "no 32-bit loader|missing|ok|ok||64|win64|wine64|wineserver64|wine64"
    "forced onto 64-bit|ok|ok|ok|64|64|win64|wine64|wineserver64|wine64"
    "auto is the default|ok|ok|ok|auto|32|win32 win64|wine|wineserver64|"
    "only the 32-bit server|ok|ok|missing||32|win32 win64|wine|wineserver32|"
    "no 64-bit loader|ok|missing|ok||error|does not start"
    "unknown switch|ok|ok|ok|32|error|must be 64"
)

failures=0
for row in "${rows[@]}"; do
    IFS='|' read -r name k32 k64 kserver switch want_path want_presets want_loader want_server \
        want_wineloader <<<"$row"
    dir=$tmp/$RANDOM$RANDOM
    mkdir "$dir"
    make_fake "$dir/wine" "$k32"
    make_fake "$dir/wine64" "$k64"
    make_fake "$dir/wineserver64" "$kserver"
    make_fake "$dir/wineserver32" ok
    got=$(env -u WINELOADER -u WINE -u WINESERVER ZAVI_WINE_DIR="$dir" ZAVI_WINE="$switch" \
        bash -c 'source "$1/scripts/wine_env.sh"
                 if zavi_wine_setup 2>"$2/message"; then
                     runs=""
                     for p in win32 win64; do zavi_wine_runs $p && runs+="${runs:+ }$p"; done
                     echo "$ZAVI_WINE_PATH|$runs|${WINE##*/}|${WINESERVER##*/}|${WINELOADER##*/}|$ZAVI_WINE_WHY"
                 else
                     echo "error|$(cat "$2/message")"
                 fi' _ "$root" "$dir")
    if [ "$want_path" = error ]; then
        expected="error|*$want_presets*"
    else
        expected="$want_path|$want_presets|$want_loader|$want_server|$want_wineloader|*"
    fi
    # The reason names what decided: the refusal, the missing loader or the switch.
    case "$name" in
        "kernel refuses 32-bit") expected+="Exec format error)" ;;
        "no 32-bit loader") expected+="No such file or directory)" ;;
        "forced onto 64-bit") expected+="ZAVI_WINE=64*" ;;
    esac
    # shellcheck disable=SC2053
    if [[ "$got" == $expected ]]; then
        echo "-- $name: ok"
    else
        echo "-- $name: FAILED"
        echo "     got:      $got"
        echo "     expected: $expected"
        failures=$((failures + 1))
    fi
done

if [ "$failures" -ne 0 ]; then
    echo "wine_env: $failures of ${#rows[@]} cases failed"
    exit 1
fi
echo "wine_env: ${#rows[@]} cases passed"
