# shellcheck shell=bash disable=SC2154  # root and tmp come from package_test.sh
# The Debian package's tests, sourced by scripts/package_test.sh (which gives check, ok, bad,
# skip, refused, dist_state, $tmp and $root). Nothing is installed into this machine's system:
# the package goes into a throw-away root with its own dpkg database.
#
#   - lintian finds no error and no warning; the package holds exactly the expected files;
#   - dpkg --root installs it, its dependencies checked against this machine's packages;
#   - from the installed copy: both programs' --version, --sim status, and the CLI reading the
#     installed zavi-sim-serve over a pseudo-terminal; man -l renders each page without a
#     warning; the bash completion loads and completes commands, options and files; the udev
#     rule parses and matches only the module's chip;
#   - scripts/package.sh without lintian or dpkg-deb, or with lintian finding an error, names
#     the cause and leaves dist/ as it was.

lacks() { ! grep -q -- "$1" <<<"$2"; }  # lacks PATTERN TEXT
fails() { ! "$@" >/dev/null; }

deb_version() { sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$root/build/native/CMakeCache.txt"; }

# A PATH of this machine's programs without the named one.
path_without() {  # path_without TOOL: prints the folder
    local dir=$tmp/path-without-$1 f
    mkdir -p "$dir"
    for f in /usr/local/bin/* /usr/bin/* /usr/sbin/*; do
        [ "${f##*/}" = "$1" ] || [ -e "$dir/${f##*/}" ] || ln -s "$f" "$dir/${f##*/}"
    done
    echo "$dir"
}

# The udev rule file checked line by line where udevadm cannot (udevadm verify came with
# systemd 253): every key is one udev knows with a fitting operator and a quoted value, and
# every rule that acts matches the module's chip by vendor and product, never every tty.
udev_rule_check() {  # udev_rule_check FILE
    awk '
    function problem(why) { printf "     line %d: %s\n", NR, why; bad = 1 }
    BEGIN {
        known = "^(ACTION|DEVPATH|KERNEL|KERNELS|NAME|SYMLINK|SUBSYSTEM|SUBSYSTEMS|DRIVER|DRIVERS|" \
                "ATTR|ATTRS|SYSCTL|TAG|TAGS|ENV|CONST|TEST|PROGRAM|RESULT|OWNER|GROUP|MODE|" \
                "SECLABEL|OPTIONS|LABEL|GOTO|IMPORT|RUN)$"
        matching_only = "^(ACTION|DEVPATH|KERNELS|SUBSYSTEMS|DRIVERS|ATTRS|TAGS|TEST|RESULT|CONST|PROGRAM)$"
        item_form = "^[ \t]*[A-Z]+(\\{[A-Za-z0-9_.-]+\\})?[ \t]*(==|!=|\\+=|-=|:=|=)[ \t]*\"[^\"]*\"[ \t]*(,|$)"
    }
    /^[ \t]*(#|$)/ { next }
    {
        line = $0; matches_vendor = 0; matches_product = 0; acts = 0
        while (length(line) > 0) {
            if (!match(line, item_form)) { problem("not KEY==\"value\": " line); next }
            item = substr(line, RSTART, RLENGTH); line = substr(line, RLENGTH + 1)
            sub(/,[ \t]*$/, "", item); gsub(/^[ \t]+|[ \t]+$/, "", item)
            key = item; sub(/[{=!+:-].*/, "", key)
            op = item; sub(/^[^=!+:-]*(\{[^}]*\})?[ \t]*/, "", op)
            op = substr(op, 1, index(op, "\"") - 1); gsub(/[ \t]/, "", op)
            if (key !~ known) problem("unknown key " key)
            assigning = op ~ /^(=|\+=|-=|:=)$/
            if (key ~ matching_only && assigning) problem(key " only matches, not " op)
            if (item ~ /^ATTRS\{idVendor\}==/) matches_vendor = item ~ /"0403"$/
            if (item ~ /^ATTRS\{idProduct\}==/) matches_product = item ~ /"[0-9a-f][0-9a-f][0-9a-f][0-9a-f]"$/
            if (assigning && key !~ /^(LABEL|GOTO)$/) acts = 1
        }
        if (acts && !(matches_vendor && matches_product))
            problem("acts without matching FTDI vendor 0403 and the chip'"'"'s product ID")
        rules++
    }
    END { if (!rules) problem("no rule"); exit bad }' "$1"
}

# COMPREPLY of the completion for a command line ending in the word being completed, sorted.
completion_of() {  # completion_of SCRIPT WORDS...
    local script=$1
    shift
    (cd "$tmp/complete-here" && bash --norc --noprofile -c '
        source "$1" || exit 1
        shift
        registered=$(complete -p "$1") || exit 1
        function=${registered#*-F }
        function=${function%% *}
        COMP_WORDS=("$@")
        COMP_CWORD=$(($# - 1))
        COMP_LINE="$*"
        COMP_POINT=${#COMP_LINE}
        "$function" "$1" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
        printf "%s\n" "${COMPREPLY[@]}" | sort | tr "\n" " " | sed "s/ $//"
    ' completion "$script" "$@")
}

deb_tests() {
    local version arch deb r
    version=$(deb_version)
    arch=$(dpkg --print-architecture)
    deb=dist/zavi-gsm-cli_${version}_$arch.deb
    if [ -z "$version" ] || [ ! -f "$deb" ]; then
        bad "the Debian package $deb exists" "run scripts/package.sh first"
        return
    fi
    check "SHA256SUMS lists the Debian package" grep -q " $(basename "$deb")\$" dist/SHA256SUMS

    local lint
    lint=$(lintian --tag-display-limit 0 "$deb" 2>&1 | grep -v 'running with root privileges' || true)
    [ -z "$lint" ] || sed 's/^/     /' <<<"$lint"
    check "lintian: no error, no warning" lacks "^[EW]:" "$lint"

    local contents=(
        ./lib/udev/rules.d/70-zavi-gsm.rules ./usr/bin/zavi-gsm-cli ./usr/bin/zavi-sim-serve
        ./usr/share/bash-completion/completions/zavi-gsm-cli
        "./usr/share/bash-completion/completions/zavi-sim-serve -> zavi-gsm-cli"
        ./usr/share/doc/zavi-gsm-cli/changelog.gz ./usr/share/doc/zavi-gsm-cli/copyright
        ./usr/share/man/man1/zavi-gsm-cli.1.gz ./usr/share/man/man1/zavi-sim-serve.1.gz
        ./usr/share/man/man5/zavi-gsm-configuration.5.gz
        ./usr/share/metainfo/zavi-gsm-cli.metainfo.xml)
    local listed
    listed=$(dpkg-deb -c "$deb" | grep -v '/$' | sed 's/^\([^ ]* *\)\{5\}//' | sort)
    check "the package holds exactly its $((${#contents[@]})) files" \
        [ "$listed" = "$(printf '%s\n' "${contents[@]}" | sort)" ]
    local depends
    depends=$(dpkg-deb -f "$deb" Depends)
    echo "     Depends: $depends"
    check "Depends names the C and C++ runtime with versions" \
        grep -Eq '^libc6 \(>= [0-9.]+\).*libstdc\+\+6 \(>= [0-9]+\)' <<<"$depends"

    # A root with a dpkg database that knows only the packages ours depends on, copied from
    # this machine's database, so that dpkg checks the dependencies for real.
    r=$tmp/deb-root
    mkdir -p "$r/var/lib/dpkg/info" "$r/var/lib/dpkg/updates"
    : >"$r/var/lib/dpkg/available"
    local name
    for name in $(sed 's/([^)]*)//g; s/|/,/g; s/,/ /g' <<<"$depends"); do
        { dpkg-query -s "$name:$arch" 2>/dev/null || dpkg-query -s "$name"; echo; } \
            >>"$r/var/lib/dpkg/status"
        touch "$r/var/lib/dpkg/info/$name.list" "$r/var/lib/dpkg/info/$name:$arch.list"
    done
    check "dpkg --root installs it into a throw-away root" deb_install "$r" "$deb"
    check "dpkg --root: the package is installed there and only there" sh -c \
        'dpkg-query --root="$1" -W -f="\${Status}" zavi-gsm-cli | grep -q "install ok installed" &&
         ! dpkg-query -W zavi-gsm-cli >/dev/null 2>&1' root "$r"

    local out
    for name in zavi-gsm-cli zavi-sim-serve; do
        out=$("$r/usr/bin/$name" --version 2>&1) || true
        check "installed $name --version says '$name $version'" [ "$out" = "$name $version" ]
    done
    out=$("$r/usr/bin/zavi-gsm-cli" --sim status 2>&1) && grep -q '^firmware: *v1\.7$' <<<"$out" &&
        grep -q '^out2: *Light on$' <<<"$out" &&
        ok "installed zavi-gsm-cli --sim status reads the simulated module" ||
        bad "installed zavi-gsm-cli --sim status reads the simulated module" "$out"

    # The installed CLI on the installed simulated module, over a pseudo-terminal.
    local serve_pid pty journal=$tmp/deb-journal.jsonl
    "$r/usr/bin/zavi-sim-serve" --journal "$journal" >"$tmp/deb-serve.out" 2>&1 &
    serve_pid=$!
    for _ in $(seq 50); do
        pty=$(head -1 "$tmp/deb-serve.out")
        [ -n "$pty" ] && break
        sleep 0.1
    done
    out=$(timeout 30 "$r/usr/bin/zavi-gsm-cli" --port "$pty" status 2>&1) &&
        grep -q '^firmware: *v1\.7$' <<<"$out" && [ -s "$journal" ] &&
        ok "installed zavi-gsm-cli --port reads the installed zavi-sim-serve ($pty)" ||
        bad "installed zavi-gsm-cli --port reads the installed zavi-sim-serve" "$out"
    kill "$serve_pid" 2>/dev/null || true
    wait "$serve_pid" 2>/dev/null || true

    # Each page renders at 80 columns without a warning and has the NAME line man -k finds.
    local page whatis rendered
    for page in man1/zavi-gsm-cli.1 man1/zavi-sim-serve.1 man5/zavi-gsm-configuration.5; do
        name=${page#*/}
        name=${name%.*}
        rendered=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l \
            "$r/usr/share/man/$page.gz" 2>"$tmp/man-warnings") || true
        [ -s "$tmp/man-warnings" ] && sed 's/^/     /' "$tmp/man-warnings"
        whatis=$(lexgrog "$r/usr/share/man/$page.gz" 2>&1) || true
        check "man -l renders $name(${page##*.}): no warning, NAME and the docs' text" \
            man_page_ok "$tmp/man-warnings" "$rendered" "$name" "$whatis"
    done
    check "zavi-gsm-cli(1) carries the docs' option table with --version" \
        grep -q -- '--version  *zavi-gsm-cli 1' <<<"$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l \
        "$r/usr/share/man/man1/zavi-gsm-cli.1.gz" 2>/dev/null)"

    # The completion in a folder with a configuration file, a CSV file, a journal and a folder.
    mkdir -p "$tmp/complete-here/sub"
    touch "$tmp/complete-here/"{a.zavi.json,b.csv,c.jsonl,notes.txt}
    local completions=$r/usr/share/bash-completion/completions
    local cases=(
        "status|zavi-gsm-cli|st"
        "restore|zavi-gsm-cli|--sim|res"
        "--device|zavi-gsm-cli|--sim|--d"
        "export import|zavi-gsm-cli|numbers|"
        "a.zavi.json sub|zavi-gsm-cli|restore|"
        "a.zavi.json sub|zavi-gsm-cli|--sim|--state|"
        "a.zavi.json sub|zavi-gsm-cli|diff|a.zavi.json|"
        "--help --with-sim-codes|zavi-gsm-cli|backup|x.zavi.json|"
        "b.csv sub|zavi-gsm-cli|numbers|import|"
        "--scenario|zavi-sim-serve|--sc"
        "c.jsonl sub|zavi-sim-serve|--journal|"
    )
    local c want words got
    for c in "${cases[@]}"; do
        want=${c%%|*}
        IFS='|' read -r -a words <<<"${c#*|}"
        [[ $c == *'|' ]] && words+=("")
        got=$(completion_of "$completions/${words[0]}" "${words[@]}" 2>&1)
        [ "$got" = "$want" ] || echo "     got '$got'"
        check "completion of '${words[*]}' offers '$want'" [ "$got" = "$want" ]
    done

    # Every command and option the installed tool's help names is completed, so a new one
    # cannot be forgotten here.
    local help
    help=$("$r/usr/bin/zavi-gsm-cli" --help)
    want=$(awk '/^Commands:/ { s = 1; next } /^$/ { s = 0 } s && /^  [a-z]/ { print $1 }' \
        <<<"$help" | sort -u | tr '\n' ' ' | sed 's/ $//')
    check "completion offers every command of --help ($want)" \
        [ -n "$want" -a "$(completion_of "$completions/zavi-gsm-cli" zavi-gsm-cli "")" = "$want" ]
    want=$(awk '/^Options/ { s = 1; next } /^$/ { s = 0 } s && /^  --/ { print $1 }' \
        <<<"$help" | sort -u | tr '\n' ' ' | sed 's/ $//')
    check "completion offers every option of --help ($want)" \
        [ -n "$want" -a "$(completion_of "$completions/zavi-gsm-cli" zavi-gsm-cli --)" = "$want" ]

    local command_words
    while read -r -a command_words; do
        want=$("$r/usr/bin/zavi-gsm-cli" "${command_words[@]}" --help |
            grep -o '^  --[a-z-]*' | tr -d ' ' || true)
        want=$(printf '%s\n' $want --help | sort -u | tr '\n' ' ' | sed 's/ $//')
        check "completion of '${command_words[*]} --' offers its options ($want)" [ "$(completion_of \
            "$completions/zavi-gsm-cli" zavi-gsm-cli "${command_words[@]}" x.zavi.json --)" = "$want" ]
    done < <(awk '/^Commands:/ { s = 1; next } /^$/ { s = 0 }
                  s && /^  [a-z]/ { print $1 ($2 ~ /^[a-z]+$/ ? " " $2 : "") }' <<<"$help")

    local rule=$r/lib/udev/rules.d/70-zavi-gsm.rules
    if udevadm verify --help >/dev/null 2>&1; then
        check "the udev rule: udevadm verify" udevadm verify --resolve-names=never "$rule"
    else
        skip "the udev rule: udevadm verify" "udevadm $(udevadm --version) has no verify; the syntax check below stands in"
    fi
    check "the udev rule: syntax, and every rule matches vendor 0403 and the product" \
        udev_rule_check "$rule"
    check "the udev rule: uaccess and the /dev/zavi-gsm-<serial> link on the module's chip" sh -c \
        'grep -q "ATTRS{idProduct}==\"6001\".*TAG+=\"uaccess\"" "$1" &&
         grep -q "ATTRS{serial}==\"?\*\".*SYMLINK+=\"zavi-gsm-\$attr{serial}\"" "$1"' rule "$rule"
    # The syntax check itself refuses what it should.
    local broken=$tmp/broken.rules
    local bad_rules=(
        'SUBSYSTEM=="tty", ATTRS{idVendor}=="0403", TAG+="uaccess"'
        'SUBSYSTEM=="tty", TAG+="uaccess"'
        'SUBSYSTEM=="tty", ATTRS{idVendor}=="0403", ATTRS{idProduct}=="6001", TAG+="uaccess'
        'SUBSYSTEM=="tty", ATTRS{idVendor}=="0403", ATTRS{idProduct}=="6001", TAGG+="uaccess"'
        'SUBSYSTEM=="tty", ATTRS{idVendor}="0403", ATTRS{idProduct}=="6001", TAG+="uaccess"'
    )
    for c in "${bad_rules[@]}"; do
        printf '# test\n%s\n' "$c" >"$broken"
        check "the syntax check refuses: $c" fails udev_rule_check "$broken"
    done

    check "package.sh without lintian names it, dist/ unchanged" \
        refused "lintian (Debian package lintian)" PATH="$(path_without lintian)"
    check "package.sh without dpkg-deb names it, dist/ unchanged" \
        refused "dpkg-deb (Debian package dpkg)" PATH="$(path_without dpkg-deb)"
    # A lintian that finds an error: the package is not made, dist/ as it was.
    mkdir -p "$tmp/fakes/lintian"
    printf '#!/bin/sh\necho "E: zavi-gsm-cli: some-error"\nexit 2\n' >"$tmp/fakes/lintian/lintian"
    chmod +x "$tmp/fakes/lintian/lintian"
    check "package_deb.sh when lintian finds an error says so, dist/ unchanged" \
        refused_deb "lintian finds errors" PATH="$tmp/fakes/lintian:$PATH"
}

deb_install() {  # deb_install ROOT DEB: dpkg's words only when it fails
    dpkg --root="$1" --log=/dev/null --force-not-root -i "$2" >"$tmp/dpkg.log" 2>&1 ||
        { sed 's/^/     /' "$tmp/dpkg.log"; return 1; }
}

man_page_ok() {  # man_page_ok WARNINGS-FILE RENDERED NAME WHATIS
    [ ! -s "$1" ] && [ "$(wc -l <<<"$2")" -gt 20 ] && grep -q "^NAME" <<<"$2" &&
        grep -q "\"$3 - " <<<"$4"
}

# As refused, for scripts/package_deb.sh writing straight into dist/.
refused_deb() {  # refused_deb WHAT-THE-MESSAGE-NAMES ENV...
    local names=$1 before after message
    shift
    before=$(dist_state)
    if message=$(env "$@" scripts/package_deb.sh --out dist --built build/native 2>&1 >/dev/null); then
        echo "     package_deb.sh succeeded"
        return 1
    fi
    after=$(dist_state)
    echo "     $(tail -1 <<<"$message")"
    grep -q "$names" <<<"$message" && [ "$before" = "$after" ]
}
