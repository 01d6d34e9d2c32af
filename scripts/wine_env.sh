# Sourced by every script that runs Windows programs under Wine. `zavi_wine_setup` decides which
# Wine loader to use, once per script, and exports:
#
#   WINE              the loader to call: "$WINE" program.exe, "$WINE" wineboot -i
#   WINESERVER        the server to call: "$WINESERVER" -k, "$WINESERVER" -w
#   WINELOADER        (64-bit path only) so that Wine starts every child with the same loader
#   ZAVI_WINE_PATH    "32" when 32-bit and 64-bit programs both run, "64" when only 64-bit ones do
#   ZAVI_WINE_PRESETS the build presets whose programs can run: "win32 win64" or "win64"
#   ZAVI_WINE_WHY     one line saying which path was taken and why
#
# /usr/bin/wine picks the 32-bit loader whenever it is installed, even on a kernel that cannot
# execute 32-bit programs ("Exec format error"), so the loader is tried, not merely looked for.
# ZAVI_WINE=64 forces the 64-bit path on a machine that could do both, so it can be tried anywhere.
# Never call bare `wine`, `wineboot` or `wineserver` in the scripts: use "$WINE" and "$WINESERVER".

zavi_wine_setup() {
    # ZAVI_WINE_DIR is for the tests of this choice only.
    local dir=${ZAVI_WINE_DIR:-/usr/lib/wine}
    local loader32=$dir/wine loader64=$dir/wine64 error
    case "${ZAVI_WINE:-}" in
        "" | auto | 64) ;;
        *)
            echo "wine: ZAVI_WINE must be 64 (or unset), not '$ZAVI_WINE'" >&2
            return 1
            ;;
    esac
    if ! "$loader64" --version >/dev/null 2>&1; then
        echo "wine: the 64-bit loader $loader64 does not start (run scripts/setup.sh)" >&2
        return 1
    fi

    if [ "${ZAVI_WINE:-}" = 64 ]; then
        ZAVI_WINE_PATH=64
        ZAVI_WINE_WHY="64-bit Wine only: ZAVI_WINE=64 forces it"
    elif error=$("$loader32" --version 2>&1 >/dev/null); then
        ZAVI_WINE_PATH=32
        ZAVI_WINE_WHY="32-bit and 64-bit Wine: $loader32 starts"
    else
        error=${error##*: }
        ZAVI_WINE_PATH=64
        ZAVI_WINE_WHY="64-bit Wine only: this machine cannot run 32-bit programs ($loader32: ${error:-does not start})"
    fi

    if [ "$ZAVI_WINE_PATH" = 64 ]; then
        WINE=$loader64
        export WINELOADER=$loader64
        ZAVI_WINE_PRESETS="win64"
    else
        # The 32-bit loader hands 64-bit programs to the 64-bit one by itself.
        WINE=$loader32
        unset WINELOADER
        ZAVI_WINE_PRESETS="win32 win64"
    fi
    # The 64-bit server serves 32-bit programs too; the 32-bit one runs only where they do.
    if "$dir/wineserver64" --version >/dev/null 2>&1; then
        WINESERVER=$dir/wineserver64
    else
        WINESERVER=$dir/wineserver32
    fi
    export WINE WINESERVER ZAVI_WINE_PATH ZAVI_WINE_PRESETS ZAVI_WINE_WHY
}

# Whether programs of a build preset (win32, win64) can run on the path taken.
zavi_wine_runs() {
    [[ " $ZAVI_WINE_PRESETS " == *" $1 "* ]]
}

# Windows form of a Linux path (Wine maps / to drive Z:).
zavi_winpath() {
    local p=${1//\//\\}
    echo "Z:$p"
}
