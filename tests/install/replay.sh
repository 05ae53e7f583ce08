#!/usr/bin/env bash
# The installed editor at work: a short replay run by the program in
# PREFIX/bin prints and shows what the build tree's program does, start-up
# picture included. Nothing of the asset folder is in PREFIX/bin, so the
# picture can only have come from PREFIX/share/fotakle; a copy of the
# program without that folder shows something else.
#   replay.sh PREFIX BUILT_FOTAKLE
set -euo pipefail
source "$(dirname "$0")/common.sh"
prefix="$1"
built="$2"

[ ! -e "$prefix/bin/FotakleFolder" ] || fail "the installed tree has an asset folder in bin"

# Brightness up one step over the start-up picture.
replay() {
    local name="$1" program="$2"
    mkdir -p "$work/$name"
    printf 'command 40036\nkey right\nprint state\nscreen %s\n' "$work/$name/screen.bmp" \
        >"$work/$name/script"
    XDG_CONFIG_HOME="$work/$name/config" TMPDIR="$work/$name" QT_QPA_PLATFORM=offscreen \
        timeout 120 "$program" --replay "$work/$name/script" >"$work/$name/out" 2>"$work/$name/err" ||
        fail "$name: the replay failed: $(cat "$work/$name/err")"
    # The work folder starts as the program's own folder, which differs.
    grep -v '^work_folder ' "$work/$name/out" >"$work/$name/state"
    grep -qx 'mode adjust' "$work/$name/state" || fail "$name: no adjustment under way"
}

replay built "$built"
replay installed "$prefix/bin/fotakle"
cmp -s "$work/built/state" "$work/installed/state" ||
    fail "the installed program's state differs: $(diff "$work/built/state" "$work/installed/state")"
cmp -s "$work/built/screen.bmp" "$work/installed/screen.bmp" ||
    fail "the installed program's screen differs from the build tree's"

mkdir -p "$work/alone/bin"
cp "$prefix/bin/fotakle" "$work/alone/bin/"
replay alone "$work/alone/bin/fotakle"
! cmp -s "$work/built/screen.bmp" "$work/alone/screen.bmp" ||
    fail "the screen is the same without an asset folder, so it shows nothing of it"
