#!/usr/bin/env bash
# Tests the release packages in dist/ (made by scripts/package.sh) as their users would meet
# them: the Windows ones under Wine in a fresh prefix, the Debian package in a throw-away root.
#
#   - SHA256SUMS matches; each zip holds just zavi-gsm.exe and README.txt, the program of its
#     architecture, stripped, with the version in its version resource;
#   - each zip unpacked into an empty folder: the program started there, with the simulated
#     FTD2XX.dll put beside it for the test only, shows the module in its main window and writes
#     config.db there (the end-to-end start-up case);
#   - the installer run silently (/S): program, README, uninstaller, Start-menu shortcut and
#     uninstall entry where promised; started as the shortcut says, it writes config.db in the
#     shortcut's working folder; the silent uninstall removes program, shortcut and entry and
#     keeps config.db;
#   - the Debian package of the Linux tools (scripts/package_test_deb.sh): lintian, installed
#     into a throw-away root, run from there, its manual pages, completion and udev rule.
#
#   scripts/package_test.sh          everything
#   scripts/package_test.sh --deb    the Debian package alone (no Wine)
#
# Where only 64-bit programs run (or with ZAVI_WINE=64) the x86 zip is only checked, not started,
# and the installer is tested as its 64-bit twin made from the same script, since the 32-bit
# setup.exe cannot start there. Every check says ok, FAILED or SKIPPED; the last line counts them.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
source scripts/wine_env.sh
source scripts/package_test_deb.sh
deb_only=""
[ "${1:-}" = --deb ] && deb_only=1

if [ -z "${ZAVI_PACKAGE_TEST_INNER:-}" ] && [ -z "$deb_only" ]; then
    zavi_wine_setup
    echo "== package tests: $ZAVI_WINE_WHY"
    for preset in $ZAVI_WINE_PRESETS; do
        cmake --preset "$preset" >/dev/null
        cmake --build --preset "$preset" -j2 --target ftd2xx_sim zavi_e2e >/dev/null
    done
    export ZAVI_PACKAGE_TEST_INNER=1
    exec timeout -k 5 900 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

passed=0 failed=0 skipped=0
ok() {
    echo "-- $1: ok"
    passed=$((passed + 1))
}
bad() {
    echo "-- $1: FAILED${2:+ ($2)}"
    failed=$((failed + 1))
}
skip() {
    echo "-- $1: SKIPPED, $2"
    skipped=$((skipped + 1))
}
check() {  # check WHAT COMMAND...: ok when the command succeeds
    local what=$1
    shift
    if "$@"; then ok "$what"; else bad "$what"; fi
}
finish() {
    echo "package tests: $passed passed, $failed failed, $skipped skipped"
    [ "$failed" -eq 0 ]
    exit
}

# package.sh on a fault: a clear message naming what is missing or failed, dist/ as it was.
dist_state() { (cd dist && find . | sort && find . -type f -print0 | sort -z | xargs -0 sha256sum); }
refused() {  # refused WHAT-THE-MESSAGE-NAMES ENV... : package.sh fails, says so, leaves dist/
    local names=$1 before after message
    shift
    before=$(dist_state)
    if message=$(env "$@" scripts/package.sh 2>&1 >/dev/null); then
        echo "     package.sh succeeded"
        return 1
    fi
    after=$(dist_state)
    echo "     $(tail -1 <<<"$message")"
    grep -q "$names" <<<"$message" && [ "$before" = "$after" ]
}

if [ -n "$deb_only" ]; then
    tmp=$(mktemp -d /tmp/zavi-package-test.XXXXXX)
    trap 'rm -rf "$tmp"' EXIT
    check "SHA256SUMS matches the packages" sh -c 'cd dist && sha256sum --quiet -c SHA256SUMS'
    deb_tests
    finish
fi

version=$(sed -n 's/^#define ZAVI_VERSION_TEXT "\(.*\)"$/\1/p' build/win64/generated/zavi_version.h)
declare -A preset_of=([x86]=win32 [x64]=win64)
declare -A pe_format=([x86]=pei-i386 [x64]=pei-x86-64)
declare -A triplet=([x86]=i686-w64-mingw32 [x64]=x86_64-w64-mingw32)
setup=dist/zavi-gsm-$version-setup.exe
for f in dist/zavi-gsm-$version-windows-{x86,x64}.zip "$setup" dist/SHA256SUMS; do
    [ -f "$f" ] || { bad "$f exists" "run scripts/package.sh first"; finish; }
done
check "SHA256SUMS matches the packages" sh -c 'cd dist && sha256sum --quiet -c SHA256SUMS'

tmp=$(mktemp -d /tmp/zavi-package-test.XXXXXX)

fakes=$tmp/fakes
mkdir -p "$fakes/cmake" "$fakes/makensis"
# A build that fails: cmake configures as usual but every build stops with an error.
printf '#!/bin/sh\ncase " $* " in *" --build "*) echo "error: broken source" >&2; exit 1;; esac\nexec /usr/bin/cmake "$@"\n' \
    >"$fakes/cmake/cmake"
# A makensis that writes half an installer and fails.
printf '#!/bin/sh\nfor a; do case "$a" in -DOUTFILE=*) echo half >"${a#-DOUTFILE=}";; esac; done\nexit 1\n' \
    >"$fakes/makensis/makensis"
chmod +x "$fakes/cmake/cmake" "$fakes/makensis/makensis"
check "package.sh without makensis names it, dist/ unchanged" \
    refused "makensis (Debian package nsis)" MAKENSIS=/nonexistent/makensis
check "package.sh on a failing build says so, dist/ unchanged" \
    refused "the win32 build failed" PATH="$fakes/cmake:$PATH"
check "package.sh when makensis fails says so, dist/ unchanged" \
    refused "makensis failed" PATH="$fakes/makensis:$PATH"
deb_tests

export WINEPREFIX=$tmp/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
cleanup() {
    timeout 20 "$WINESERVER" -k >/dev/null 2>&1 || true
    rm -rf "$tmp"
}
trap cleanup EXIT

# What needs no Wine: contents, architecture, symbols, version resource, README.
version_resource() {  # the file's version resource as .rc text
    "${triplet[$2]}-windres" -i "$1" -O rc 2>/dev/null | sed -n '/VERSIONINFO/,/^END/p'
}
exact_listing() { [ "$(unzip -Z1 "$1" | sort | tr '\n' ' ')" = "README.txt zavi-gsm.exe " ]; }
stripped() { ! "${triplet[$2]}-objdump" -h "$1" | grep -q '\.debug\|\.symtab'; }
for a in x86 x64; do
    zip=dist/zavi-gsm-$version-windows-$a.zip
    unpacked=$tmp/zip-$a
    mkdir "$unpacked"
    unzip -q "$zip" -d "$unpacked" || bad "$a zip unpacks"
    exe=$unpacked/zavi-gsm.exe
    check "$a zip holds only zavi-gsm.exe and README.txt" exact_listing "$zip"
    check "$a zip: the program is $a" grep -q "${pe_format[$a]}" <("${triplet[$a]}-objdump" -f "$exe")
    check "$a zip: the program is stripped" stripped "$exe" "$a"
    resource=$(version_resource "$exe" "$a")
    quad=$(IFS=.; read -r m n p t <<<"$version"; echo "${m:-0}, ${n:-0}, ${p:-0}, ${t:-0}")
    check "$a zip: version resource $version" grep -q "FILEVERSION $quad" <<<"$resource"
    check "$a zip: version texts" grep -q "VALUE \"ProductVersion\", \"$version\"" <<<"$resource"
    check "$a zip: the program stands alone" scripts/check_standalone.sh "$exe" >/dev/null
done
readme=$tmp/zip-x64/README.txt
windows_text() {  # UTF-8 with a byte-order mark, every line ending in CRLF
    [ "$(head -c3 "$1" | od -An -tx1 | tr -d ' \n')" = efbbbf ] && ! grep -qv $'\r$' "$1"
}
readme_content() {  # three languages, each naming the driver and the settings file
    head -1 "$1" | grep -q "ZAVI-GSM $version" && [ "$(grep -c '^== .* ==' "$1")" -eq 3 ] &&
        [ "$(grep -c 'D2XX' "$1")" -ge 3 ] && [ "$(grep -cF 'config.db' "$1")" -ge 3 ] &&
        [ "$(grep -cF '%APPDATA%\ZAVI-GSM' "$1")" -ge 3 ]
}
check "README.txt: UTF-8 with byte-order mark, CRLF lines" windows_text "$readme"
check "README.txt: version, three languages, driver and settings in each" readme_content "$readme"
check "README.txt: the same in both zips" cmp -s "$readme" "$tmp/zip-x86/README.txt"

echo "-- making the Wine prefix"
timeout 180 "$WINE" wineboot -i >/dev/null 2>&1 || { bad "Wine prefix" "$WINE wineboot -i"; finish; }
timeout 60 "$WINESERVER" -w || true

# Runs the end-to-end start-up case; extra arguments say which program and where.
startup_case() {  # startup_case NAME PRESET ARGS...
    local name=$1 preset=$2
    shift 2
    local report=$tmp/$name-report.txt
    timeout -k 5 180 "$WINE" explorer /desktop="zavi-package-$name,1024x768" \
        "$root/build/$preset/e2e/zavi_e2e.exe" \
        --library "$(zavi_winpath "$root/build/$preset/sim/dll/FTD2XX.dll")" \
        --work "$(zavi_winpath "$tmp/cases-$name")" --filter startup_shows_the_module \
        --report "$(zavi_winpath "$report")" "$@" >/dev/null 2>&1 || true
    timeout 30 "$WINESERVER" -w || true
    [ -f "$report" ] && grep '^shortcut:' "$report" | sed 's/^/     /' | tr -d '\r'
    if [ -f "$report" ] && grep -q '^RESULT: PASS' "$report"; then return 0; fi
    [ -f "$report" ] && sed 's/^/     /' "$report"
    return 1
}

for a in x86 x64; do
    unpacked=$tmp/zip-$a
    if ! zavi_wine_runs "${preset_of[$a]}"; then
        skip "$a zip started in its folder" "its program cannot run here ($ZAVI_WINE_WHY)"
        continue
    fi
    check "$a zip started in its folder shows the module" startup_case "zip-$a" "${preset_of[$a]}" \
        --program "$(zavi_winpath "$unpacked/zavi-gsm.exe")" --start-in "$(zavi_winpath "$unpacked")"
    check "$a zip: config.db written in its folder, the simulated driver gone again" \
        [ "$(ls "$unpacked" | tr '\n' ' ')" = "README.txt config.db zavi-gsm.exe " ]
done

# Where the installer puts things, as Wine's own shell folders say.
windows_variable() { "$WINE" cmd /c echo "%$1%" 2>/dev/null | tr -d '\r'; }
linux_path() { "$WINE" winepath -u "$1" 2>/dev/null | tr -d '\r'; }
program_folder_windows="$(windows_variable LOCALAPPDATA)\Programs\ZAVI-GSM"
work_folder_windows="$(windows_variable APPDATA)\ZAVI-GSM"
program_folder=$(linux_path "$program_folder_windows")
work_folder=$(linux_path "$work_folder_windows")
appdata=$(linux_path "$(windows_variable APPDATA)")
shortcut=$appdata/Microsoft/Windows/Start\ Menu/Programs/ZAVI-GSM.lnk
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\ZAVI-GSM'
uninstall_entry() { "$WINE" reg query "$key" /v DisplayVersion 2>/dev/null | grep -q "$version"; }

installer=$setup
expected=$tmp/zip-x64/zavi-gsm.exe  # a 64-bit prefix gets the x86_64 program
if ! zavi_wine_runs win32; then
    skip "$setup started" "it is a 32-bit program ($ZAVI_WINE_WHY); its 64-bit twin is tested"
    installer=$tmp/setup-amd64.exe
    IFS=. read -r major minor patch tweak <<<"$version"
    check "the 64-bit twin of the installer is made" makensis -V1 -NOCD -DAMD64 \
        -DVERSION="$version" -DVERSION_QUAD="${major:-0}.${minor:-0}.${patch:-0}.${tweak:-0}" \
        -DEXE_X86="$tmp/zip-x86/zavi-gsm.exe" -DEXE_X64="$tmp/zip-x64/zavi-gsm.exe" \
        -DREADME="$tmp/zip-x64/README.txt" -DOUTFILE="$installer" packaging/installer.nsi
fi
skip "installing on 32-bit Windows (the i686 program)" "the test prefix is a 64-bit Windows"

timeout 120 "$WINE" "$installer" /S || true
timeout 60 "$WINESERVER" -w || true
check "installed: the x86_64 program in %LOCALAPPDATA%\\Programs\\ZAVI-GSM" \
    cmp -s "$program_folder/zavi-gsm.exe" "$expected"
check "installed: README.txt and uninstall.exe beside it" \
    test -f "$program_folder/README.txt" -a -f "$program_folder/uninstall.exe"
check "installed: no FTD2XX.dll" [ ! -e "$program_folder/FTD2XX.dll" ]
check "installed: the Start-menu shortcut" [ -f "$shortcut" ]
check "installed: the working folder %APPDATA%\\ZAVI-GSM, empty" \
    [ -d "$work_folder" -a -z "$(ls -A "$work_folder" 2>/dev/null)" ]
check "installed: the uninstall entry with version $version" uninstall_entry

# The shortcut's path has a space, which the virtual desktop's command line would split.
cp "$shortcut" "$tmp/ZAVI-GSM.lnk" 2>/dev/null || true
check "started as the shortcut says, it shows the module" \
    startup_case installed win64 --shortcut "$(zavi_winpath "$tmp/ZAVI-GSM.lnk")"
shortcut_said() {  # the driver's report line of what the shortcut holds (CRLF: a Windows file)
    tr -d '\r' <"$tmp/installed-report.txt" | grep -qixF "shortcut: program $1, working folder $2"
}
check "the shortcut: the installed program, working folder %APPDATA%\\ZAVI-GSM" \
    shortcut_said "$program_folder_windows\\zavi-gsm.exe" "$work_folder_windows"
check "config.db written in %APPDATA%\\ZAVI-GSM" [ -f "$work_folder/config.db" ]
check "the simulated driver gone again from the program's folder" [ ! -e "$program_folder/FTD2XX.dll" ]

timeout 120 "$WINE" "$program_folder/uninstall.exe" /S || true
# The uninstaller runs as a copy in the temporary folder; wait for it.
timeout 60 "$WINESERVER" -w || true
check "uninstalled: the program's folder is gone" [ ! -e "$program_folder" ]
check "uninstalled: the shortcut is gone" [ ! -e "$shortcut" ]
check "uninstalled: the uninstall entry is gone" sh -c '! "$0" reg query "$1" >/dev/null 2>&1' \
    "$WINE" "$key"
check "uninstalled silently: config.db is kept" [ -f "$work_folder/config.db" ]
finish
