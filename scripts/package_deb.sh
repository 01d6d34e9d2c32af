#!/usr/bin/env bash
# Makes the Debian package of the Linux tools from the native build:
#
#   zavi-gsm-cli_VERSION_ARCH.deb   /usr/bin/zavi-gsm-cli and /usr/bin/zavi-sim-serve, their
#                                  manual pages (made here from docs/ with pandoc), bash
#                                  completion, the udev rule for the module's USB chip
#
#   scripts/package_deb.sh --out DIR [--built BUILD-DIR]
#   scripts/package_deb.sh --check      only look for the tools it needs
#
# scripts/package.sh calls it with its hidden staging folder; run alone it writes into DIR.
# VERSION is the CMake project version and must head packaging/debian/changelog. The
# dependencies are computed from the binaries (dpkg-shlibdeps), and the package must pass
# lintian with no error and no warning (docs/packaging.md says why that holds). On any failure
# nothing is left in DIR.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
here=packaging/debian

fail() {
    echo "package: $*" >&2
    exit 1
}

out="" built="" check_only=""
while [ $# -gt 0 ]; do
    case "$1" in
        --check)
            check_only=1
            shift
            ;;
        --out | --built)
            [ $# -ge 2 ] || fail "$1 needs a folder"
            [ "$1" = --out ] && out=$(realpath -m "$2") || built=$(realpath -m "$2")
            shift 2
            ;;
        *) fail "unknown argument '$1' (usage: scripts/package_deb.sh --out DIR [--built BUILD-DIR])" ;;
    esac
done
[ -n "$out$check_only" ] || fail "usage: scripts/package_deb.sh --out DIR [--built BUILD-DIR]"

# The tools, each with the Debian package that brings it.
deb_tools=(cmake:cmake dpkg-deb:dpkg dpkg-shlibdeps:dpkg-dev dpkg-parsechangelog:dpkg-dev
           lintian:lintian pandoc:pandoc gzip:gzip strip:binutils md5sum:coreutils)
missing=()
for pair in "${deb_tools[@]}"; do
    command -v "${pair%%:*}" >/dev/null 2>&1 || missing+=("${pair%%:*} (Debian package ${pair#*:})")
done
if [ ${#missing[@]} -gt 0 ]; then
    fail "cannot make the Debian package, missing: ${missing[*]}; scripts/setup.sh installs them. Nothing was written to dist/."
fi
[ -z "$check_only" ] || exit 0

build=${built:-$root/build/native}
if [ -z "$built" ]; then
    echo "package: building zavi-gsm-cli and zavi-sim-serve (native)"
    { cmake --preset native >/dev/null &&
        cmake --build --preset native -j2 --target zavi-gsm-cli zavi-sim-serve; } ||
        fail "the native build failed; nothing was written to dist/"
fi
for program in cli/zavi-gsm-cli sim/serve/zavi-sim-serve; do
    [ -x "$build/$program" ] || fail "$build/$program is missing; nothing was written to dist/"
done
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt" 2>/dev/null || true)
[ -n "$version" ] || fail "no project version in $build/CMakeCache.txt; nothing was written to dist/"
logged=$(dpkg-parsechangelog -l "$here/changelog" -S Version 2>/dev/null || true)
[ "$logged" = "$version" ] ||
    fail "$here/changelog begins with version '$logged', the project is $version: add an entry; nothing was written to dist/"
arch=$(dpkg --print-architecture)
name=zavi-gsm-cli_${version}_$arch.deb

work=$(mktemp -d "${TMPDIR:-/tmp}/zavi-deb.XXXXXX")
trap 'rm -rf "$work"' EXIT
pkg=$work/debian/zavi-gsm-cli  # where dpkg-shlibdeps expects the package's files
doc=$pkg/usr/share/doc/zavi-gsm-cli
# The changelog's date stamps every file, so the same sources make the same package.
SOURCE_DATE_EPOCH=$(dpkg-parsechangelog -l "$here/changelog" -S Timestamp)
export SOURCE_DATE_EPOCH

install -d "$pkg/usr/bin" "$pkg/usr/share/man/man1" "$pkg/usr/share/man/man5" "$doc" \
    "$pkg/usr/share/bash-completion/completions" "$pkg/lib/udev/rules.d"
for program in cli/zavi-gsm-cli sim/serve/zavi-sim-serve; do
    install -m 0755 "$build/$program" "$pkg/usr/bin/"
    strip --strip-unneeded --remove-section=.comment --remove-section=.note \
        "$pkg/usr/bin/${program##*/}"
done
"$pkg/usr/bin/zavi-gsm-cli" --version | grep -qx "zavi-gsm-cli $version" ||
    fail "zavi-gsm-cli --version does not say $version; nothing was written to dist/"

# A manual page from the docs: PAGE SECTION DOC HEADING WHATIS. The page holds the part of DOC
# from HEADING (a "## " line) to the next one, or with HEADING "" all of DOC, whose own title
# gives way to NAME (PAGE - WHATIS, as man -k shows it).
man_page() {
    local page=$1 section=$2 doc=$3 heading=$4 whatis=$5 body=$work/$1.md
    {
        printf '## NAME\n\n%s \\- %s\n\n## DESCRIPTION\n\n' "$page" "$whatis"
        if [ -n "$heading" ]; then
            awk -v h="$heading" '/^## / { inside = index($0, h) == 1 } inside && !/^## / { print }' \
                "docs/$doc"
        else
            sed '1{/^# /d}' "docs/$doc"
        fi
    } >"$body"
    [ "$(wc -l <"$body")" -gt 10 ] || fail "docs/$doc has no text for $page($section)"
    pandoc -f markdown -t man -s --shift-heading-level-by=-1 --lua-filter="$here/man-links.lua" \
        -M title="$page" -M section="$section" -M header="ZAVI-GSM" \
        -M footer="zavi-gsm-cli $version" -M date="$(date -u -d "@$SOURCE_DATE_EPOCH" +%F)" \
        "$body" | perl -p "$here/man-tables.pl" |
        gzip -9n >"$pkg/usr/share/man/man$section/$page.$section.gz" ||
        fail "pandoc failed on docs/$doc; nothing was written to dist/"
}
man_page zavi-gsm-cli 1 command-line.md "" \
    "back up, restore, compare and watch a ZAVI-GSM alarm module"
man_page zavi-sim-serve 1 serial-ports.md "## zavi-sim-serve" \
    "a simulated ZAVI-GSM module on a pseudo-terminal"
man_page zavi-gsm-configuration 5 configuration-file.md "" \
    "the ZAVI-GSM configuration file (.zavi.json)"

install -m 0644 "$here/zavi-gsm-cli.bash-completion" \
    "$pkg/usr/share/bash-completion/completions/zavi-gsm-cli"
ln -s zavi-gsm-cli "$pkg/usr/share/bash-completion/completions/zavi-sim-serve"
install -m 0644 "$here/70-zavi-gsm.rules" "$pkg/lib/udev/rules.d/"
install -D -m 0644 "$here/zavi-gsm-cli.metainfo.xml" "$pkg/usr/share/metainfo/zavi-gsm-cli.metainfo.xml"
install -m 0644 "$here/copyright" "$doc/copyright"
gzip -9n <"$here/changelog" >"$doc/changelog.gz"
chmod 0644 "$doc/changelog.gz" "$pkg"/usr/share/man/man?/*.gz

# Dependencies from the libraries the binaries use.
printf 'Source: zavi-gsm-cli\n\nPackage: zavi-gsm-cli\nArchitecture: any\n' >"$work/debian/control"
depends=$(cd "$work" && dpkg-shlibdeps -O -e "$pkg/usr/bin/zavi-gsm-cli" \
    -e "$pkg/usr/bin/zavi-sim-serve" 2>"$work/shlibdeps.log" | sed -n 's/^shlibs:Depends=//p') ||
    true
[ -n "$depends" ] || fail "dpkg-shlibdeps found no dependencies ($(tail -1 "$work/shlibdeps.log")); nothing was written to dist/"

install -d "$pkg/DEBIAN"
(cd "$pkg" && find usr lib -type f -print0 | sort -z | xargs -0 md5sum) >"$pkg/DEBIAN/md5sums"
size=$(du -sk --exclude=DEBIAN "$pkg" | cut -f1)
sed -e "s/@VERSION@/$version/" -e "s/@ARCH@/$arch/" -e "s/@SIZE@/$size/" \
    -e "s/@DEPENDS@/$depends/" "$here/control.in" >"$pkg/DEBIAN/control"
chmod 0644 "$pkg/DEBIAN/control" "$pkg/DEBIAN/md5sums"
find "$pkg" -depth -exec touch --no-dereference -d "@$SOURCE_DATE_EPOCH" {} +

dpkg-deb --root-owner-group -Zxz --build "$pkg" "$work/$name" >/dev/null ||
    fail "dpkg-deb failed; nothing was written to dist/"
echo "package: lintian $name"
lintian --fail-on error,warning --tag-display-limit 0 "$work/$name" >"$work/lintian.txt" 2>&1 || {
    sed 's/^/  /' "$work/lintian.txt" >&2
    fail "lintian finds errors or warnings in $name; nothing was written to dist/"
}
sed 's/^/  /' "$work/lintian.txt"
mkdir -p "$out"
mv -f "$work/$name" "$out/$name"
