#!/usr/bin/env bash
# Both programs' command lines: --help and --version answer on stdout with
# status 0, anything not understood prints the usage on stderr with status 2.
# The editor runs without any display, so an option that reached Qt would
# end in Qt's own failure rather than pass.
#   command-line.sh FOTAKLE FOTAKLE_BATCH VERSION
set -euo pipefail
source "$(dirname "$0")/common.sh"
fotakle="$1"
batch="$2"
version="$3"

# program # arguments # status # stdout holds # stderr holds ("" = empty)
cases=(
    "$fotakle#--help#0#Usage: fotakle [FILE]#"
    "$fotakle#--help#0#fotakle --replay SCRIPT [FILE]#"
    "$fotakle#-h#0#--version        print the version#"
    "$fotakle#--version#0#fotakle $version#"
    "$fotakle#--bogus#2##fotakle: unknown option --bogus"
    "$fotakle#-picture.jpg#2##fotakle: unknown option -picture.jpg"
    "$fotakle#--help extra#2##Usage: fotakle"
    "$fotakle#--version --help#2##Usage: fotakle"
    "$fotakle#--replay#2##--replay needs one SCRIPT and at most one FILE"
    "$fotakle#--replay script one.jpg two.jpg#2##--replay needs one SCRIPT and at most one FILE"
    "$fotakle#--replay /nonexistent/script.txt#1##cannot read /nonexistent/script.txt"
    "$fotakle#one.jpg two.jpg#2##fotakle: unexpected argument two.jpg"
    "$fotakle#--#2##fotakle: -- needs a FILE after it"
    "$fotakle#-- one.jpg two.jpg#2##fotakle: unexpected argument two.jpg"
    "$batch#--help#0#paint oil|water|wax [--seed N] IN OUT.bmp#"
    "$batch#--version#0#fotakle-batch $version#"
    "$batch#--bogus#2##Usage: fotakle-batch"
    "$batch##2##Usage: fotakle-batch"
)

failures=0
for entry in "${cases[@]}"; do
    IFS='#' read -r program args status out err <<<"$entry"
    read -r -a argv <<<"$args"
    name="$(basename "$program") $args"
    actual=0
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
        timeout 60 "$program" "${argv[@]}" >"$work/out" 2>"$work/err" || actual=$?
    if [ "$actual" != "$status" ]; then
        echo "$name: status $actual, expected $status; stderr: $(head -c 300 "$work/err")" >&2
        failures=$((failures + 1))
        continue
    fi
    for stream in out err; do
        expected="${!stream}"
        if { [ -z "$expected" ] && [ -s "$work/$stream" ]; } ||
            { [ -n "$expected" ] && ! grep -qF -- "$expected" "$work/$stream"; }; then
            echo "$name: std$stream should hold \"$expected\" (\"\" = nothing), holds:" \
                "$(head -c 300 "$work/$stream")" >&2
            failures=$((failures + 1))
        fi
    done
done

# --version prints one line and nothing more, so that scripts can read it.
for program in "$fotakle" "$batch"; do
    printf '%s %s\n' "$(basename "$program")" "$version" | cmp -s - <("$program" --version) ||
        fail "$(basename "$program") --version printed: $("$program" --version)"
done

[ "$failures" = 0 ] || fail "$failures command-line checks failed"
