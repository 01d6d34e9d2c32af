#!/usr/bin/env bash
# Installs from Debian's packages everything the build, the tests, the demo and the release
# packages need.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

packages=(
    cmake ninja-build g++ git
    libgtest-dev libgmock-dev googletest libbenchmark-dev nlohmann-json3-dev
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
    clang libclang-rt-14-dev
    wine wine64 wine32:i386
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

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "setup: installing ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q "${missing[@]}"
