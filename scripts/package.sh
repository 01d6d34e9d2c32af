#!/usr/bin/env bash
# Makes the release packages under dist/ from both Windows builds:
#
#   zavi-gsm-VERSION-windows-x86.zip   stripped i686 zavi-gsm.exe + README.txt
#   zavi-gsm-VERSION-windows-x64.zip   stripped x86_64 zavi-gsm.exe + README.txt
#   zavi-gsm-VERSION-setup.exe         per-user installer (NSIS) holding both programs
#   zavi-gsm-cli_VERSION_amd64.deb     the Linux tools (scripts/package_deb.sh)
#   SHA256SUMS                         of the four
#
#   scripts/package.sh                 (also: cmake --build --preset win64 --target package)
#   MAKENSIS=/path/to/makensis scripts/package.sh    (another makensis than the one on PATH)
#
# VERSION is the CMake project version. The simulated FTD2XX.dll never goes into a package.
# Everything is made in a hidden folder inside dist/ and moved into place only when all of it
# is there, so a failed run leaves no half-written package behind.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

fail() {
    echo "package: $*" >&2
    exit 1
}

# A build directory the caller has already brought up to date (the CMake target does that):
# building it again from here would run a second Ninja in it.
built=""
while [ $# -gt 0 ]; do
    case "$1" in
        --built)
            [ $# -ge 2 ] || fail "--built needs a build directory"
            built=$(realpath -m "$2")
            shift 2
            ;;
        *) fail "unknown argument '$1' (usage: scripts/package.sh [--built BUILD-DIR])" ;;
    esac
done

# Every tool, with the Debian package that brings it, checked before anything is built.
makensis=${MAKENSIS:-makensis}
tools=(cmake:cmake "$makensis:nsis" zip:zip unzip:unzip sha256sum:coreutils
       i686-w64-mingw32-strip:binutils-mingw-w64-i686
       x86_64-w64-mingw32-strip:binutils-mingw-w64-x86-64)
missing=()
for pair in "${tools[@]}"; do
    command -v "${pair%%:*}" >/dev/null 2>&1 || missing+=("${pair%%:*} (Debian package ${pair#*:})")
done
if [ ${#missing[@]} -gt 0 ]; then
    fail "cannot make packages, missing: ${missing[*]}; scripts/setup.sh installs them. Nothing was written to dist/."
fi
scripts/package_deb.sh --check || exit 1

declare -A triplet=([win32]=i686-w64-mingw32 [win64]=x86_64-w64-mingw32)
declare -A arch=([win32]=x86 [win64]=x64)
version=""
for preset in win32 win64; do
    dir=$root/build/$preset
    if [ "$dir" != "$built" ]; then
        echo "package: building zavi-gsm.exe ($preset)"
        { cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" -j2 --target zavi-gsm; } ||
            fail "the $preset build failed; nothing was written to dist/"
    fi
    [ -f "$dir/win32/zavi-gsm.exe" ] || fail "$dir/win32/zavi-gsm.exe is missing; nothing was written to dist/"
    header=$dir/generated/zavi_version.h
    v=$(sed -n 's/^#define ZAVI_VERSION_TEXT "\(.*\)"$/\1/p' "$header" 2>/dev/null || true)
    [ -n "$v" ] || fail "no version in $header (configure the $preset preset); nothing was written to dist/"
    [ -z "$version" ] || [ "$v" = "$version" ] ||
        fail "the builds have different versions ($version, $v): configure both again"
    version=$v
done
# Windows wants four numbers in the installer's version resource.
IFS=. read -r major minor patch tweak <<<"$version"
quad=${major:-0}.${minor:-0}.${patch:-0}.${tweak:-0}

mkdir -p dist
stage=$(mktemp -d "$root/dist/.partial.XXXXXX")
trap 'rm -rf "$stage"' EXIT

# README.txt for Windows' editors: UTF-8 with a byte-order mark and CRLF line ends.
{
    printf '\xef\xbb\xbf'
    sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' packaging/README.txt
} >"$stage/README.txt"

names=()
for preset in win32 win64; do
    folder=$stage/${arch[$preset]}
    mkdir "$folder"
    cp "build/$preset/win32/zavi-gsm.exe" "$folder/zavi-gsm.exe"
    "${triplet[$preset]}-strip" "$folder/zavi-gsm.exe"
    cp "$stage/README.txt" "$folder/README.txt"
    name=zavi-gsm-$version-windows-${arch[$preset]}.zip
    (cd "$folder" && zip -q -X "$stage/$name" zavi-gsm.exe README.txt)
    listed=$(unzip -Z1 "$stage/$name" | sort | tr '\n' ' ')
    [ "$listed" = "README.txt zavi-gsm.exe " ] || fail "$name holds '$listed', not just the program and README.txt"
    names+=("$name")
done

setup=zavi-gsm-$version-setup.exe
echo "package: making $setup"
"$makensis" -V2 -NOCD -DVERSION="$version" -DVERSION_QUAD="$quad" \
    -DEXE_X86="$stage/x86/zavi-gsm.exe" -DEXE_X64="$stage/x64/zavi-gsm.exe" \
    -DREADME="$stage/README.txt" -DOUTFILE="$stage/$setup" packaging/installer.nsi ||
    fail "makensis failed on packaging/installer.nsi; nothing was written to dist/"
[ -s "$stage/$setup" ] || fail "makensis made no $setup; nothing was written to dist/"
names+=("$setup")

scripts/package_deb.sh --out "$stage" || exit 1
deb=zavi-gsm-cli_${version}_$(dpkg --print-architecture).deb
[ -f "$stage/$deb" ] ||
    fail "the Debian package is not of version $version (configure the native preset again); nothing was written to dist/"
names+=("$deb")

(cd "$stage" && sha256sum "${names[@]}" >SHA256SUMS)
for name in "${names[@]}" SHA256SUMS; do
    mv -f "$stage/$name" "dist/$name"
done
echo "package: made in dist/ (version $version):"
(cd dist && ls -l "${names[@]}" SHA256SUMS | awk '{ printf "  %-40s %9d bytes\n", $9, $5 }')
