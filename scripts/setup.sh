#!/usr/bin/env bash
# Installs from Debian's packages everything the build, the tests, the demo and the release
# packages need.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

packages=(
    cmake ninja-build g++ git ccache
    libgtest-dev libgmock-dev googletest libbenchmark-dev nlohmann-json3-dev
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
    clang libclang-rt-14-dev
    wine wine64
    xvfb xauth imagemagick
    nsis zip unzip
    dpkg-dev
    lintian
    pandoc
    man-db
    mosquitto
    mosquitto-clients
    libmosquitto-dev
    jq
    python3
    chromium
    python3-html5lib
)

# 32-bit Wine is welcome but not required: without it the Wine stages run the 64-bit build only
# and say so, as on a kernel that cannot run 32-bit programs.
optional=(wine32:i386)

absent() {  # absent PACKAGE...: prints those not installed
    for p in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            echo "$p"
        fi
    done
}

mapfile -t missing < <(absent "${packages[@]}")
mapfile -t missing_optional < <(absent "${optional[@]}")
if [ ${#missing[@]} -eq 0 ] && [ ${#missing_optional[@]} -eq 0 ]; then
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive

# A mirror in the middle of a sync serves index files of the wrong size for a while; try again
# before going on with the indexes there are, and let the install say what is really missing.
update() {  # update ATTEMPTS
    local attempt
    for ((attempt = 1; attempt <= $1; attempt++)); do
        $sudo apt-get update -q && return 0
        if [ "$attempt" -lt "$1" ]; then
            echo "setup: apt-get update failed; trying again in 30 s" >&2
            sleep 30
        fi
    done
    echo "setup: apt-get update failed; going on with the package lists there are" >&2
}

if [ ${#missing_optional[@]} -gt 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
# When only the optional packages are missing, one try: the run goes on without them.
if [ ${#missing[@]} -gt 0 ]; then update 3; else update 1; fi

if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    $sudo apt-get install -y -q "${missing[@]}"
fi

if [ ${#missing_optional[@]} -gt 0 ]; then
    echo "setup: installing ${missing_optional[*]}"
    if ! $sudo apt-get install -y -q "${missing_optional[@]}"; then
        echo "setup: could not install ${missing_optional[*]}; the Wine stages run the" \
            "64-bit build only (scripts/setup.sh tries again next time)" >&2
    fi
fi
