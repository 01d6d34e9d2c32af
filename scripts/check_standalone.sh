#!/usr/bin/env bash
# Checks that the Windows binaries stand alone: every .exe and .dll imports only DLLs that come
# with Windows (no MinGW runtime such as libstdc++, libgcc or libwinpthread), no program imports
# FTD2XX.dll statically (the program loads it at run time and names it when missing), and the
# drop-in FTD2XX.dll exports the seven driver calls at the D2XX ordinals and, by name,
# FT_SetLatencyTimer, FT_CreateDeviceInfoList and FT_GetDeviceInfoDetail. The program
# (zavi-gsm.exe) must also carry none of libstdc++'s locale and stream machinery: one string
# stream anywhere in its code brings about 0.75 MB of it (docs/performance.md).
#
#   scripts/check_standalone.sh                 # everything built in build/win32 and build/win64
#   scripts/check_standalone.sh a.exe b.dll     # just these files
set -euo pipefail
files=()
for f in "$@"; do files+=("$(realpath -m "$f")"); done
cd "$(dirname "$0")/.."

# Lower case, without ".dll".
system_dlls=" kernel32 user32 gdi32 comctl32 uxtheme msvcrt advapi32 shell32 ole32 oleaut32
 comdlg32 shlwapi version winmm imm32 dwmapi ws2_32 setupapi bcrypt "

# ordinal:role of the drop-in driver's exports.
driver_exports="1:OpenByIndex 2:Close 3:Read 4:Write 16:Purge 17:SetTimeouts 70:CountDevices"

objdump_for() {
    case "$(x86_64-w64-mingw32-objdump -f "$1" 2>/dev/null)" in
        *pei-i386*) echo i686-w64-mingw32-objdump ;;
        *pei-x86-64*) echo x86_64-w64-mingw32-objdump ;;
        *) echo "" ;;
    esac
}

problems=0
problem() {
    echo "check_standalone: $1" >&2
    problems=$((problems + 1))
}

check_imports() {
    local file=$1 dump=$2 dll
    while read -r dll; do
        local name=${dll,,}
        name=${name%.dll}
        if [ "$name" = ftd2xx ]; then
            problem "$file imports FTD2XX.dll statically"
        elif [[ "$system_dlls" != *" $name "* ]]; then
            problem "$file imports $dll, which Windows does not provide"
        fi
    done < <(sed -n 's/^[[:space:]]*DLL Name: *//p' <<<"$dump")
}

# Symbols of std::locale or the stream bases in the program's own symbol table.
check_no_streams() {
    local file=$1 nm=${2%objdump}nm found
    found=$("$nm" -C "$file" 2>/dev/null | grep -m 3 -E 'std::(locale|ios_base|basic_ios)\b' || true)
    if [ -n "$found" ]; then
        problem "$file carries libstdc++'s locale and stream machinery:"$'\n'"$found"
    fi
}

# Ordinal of each exported name: "[index] name" lines of the name table, index = ordinal - base.
check_driver_exports() {
    local file=$1 dump=$2 base count
    base=$(sed -n 's/.*Ordinal Base[[:space:]]*\([0-9]*\).*/\1/p' <<<"$dump" | head -1)
    if [ -z "$base" ]; then
        problem "$file has no export table"
        return
    fi
    local names
    names=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" |
            sed -n 's/^[[:space:]]*\[ *\([0-9]*\)\] *\(.*\)$/\1 \2/p')
    count=$(grep -c . <<<"$names" || true)
    if [ "$count" -ne 10 ]; then
        problem "$file exports $count names, not the seven driver calls and the three by name"
    fi
    local by_name
    for by_name in FT_SetLatencyTimer FT_CreateDeviceInfoList FT_GetDeviceInfoDetail; do
        if ! awk -v n="$by_name" '$2 ~ "^" n "(@[0-9]+)?$" { found = 1 } END { exit !found }' \
            <<<"$names"; then
            problem "$file does not export $by_name by name"
        fi
    done
    local pair ordinal role found
    for pair in $driver_exports; do
        ordinal=${pair%%:*}
        role=${pair#*:}
        found=$(awk -v want=$((ordinal - base)) -v role="$role" \
                    '$1 == want && $2 ~ role"(@[0-9]+)?$" { print $2 }' <<<"$names")
        if [ -z "$found" ]; then
            problem "$file does not export its $role call at ordinal $ordinal"
        fi
    done
}

if [ ${#files[@]} -eq 0 ]; then
    for dir in build/win32 build/win64; do
        for needed in win32/zavi-gsm.exe sim/dll/FTD2XX.dll; do
            [ -f "$dir/$needed" ] || problem "$dir/$needed is missing (build the preset first)"
        done
        while IFS= read -r f; do files+=("$f"); done < <(
            find "$dir" -path '*/CMakeFiles' -prune -o \( -iname '*.exe' -o -iname '*.dll' \) \
                -type f -print 2>/dev/null | sort)
    done
fi

checked=0
for f in "${files[@]}"; do
    tool=$(objdump_for "$f")
    if [ -z "$tool" ]; then
        problem "$f is not a Windows PE file"
        continue
    fi
    dump=$("$tool" -p "$f")
    check_imports "$f" "$dump"
    case "$(basename "${f,,}")" in
        ftd2xx.dll) check_driver_exports "$f" "$dump" ;;
        zavi-gsm.exe) check_no_streams "$f" "$tool" ;;
    esac
    checked=$((checked + 1))
done

if [ "$problems" -ne 0 ]; then
    echo "check_standalone: $problems problem(s) in $checked file(s)" >&2
    exit 1
fi
echo "check_standalone: $checked Windows binaries import only system DLLs; FTD2XX.dll exports are right"
