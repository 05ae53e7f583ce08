#!/usr/bin/env bash
# The installed tree: every file in its standard place and nothing else, the
# asset folder whole under share/, icons of the size their folder names,
# and the desktop entry, the software-centre entry and the manual pages
# valid and naming what was installed.
#   layout.sh PREFIX ASSET_FOLDER VERSION
set -euo pipefail
source "$(dirname "$0")/common.sh"
prefix="$1"
assets="$2"
version="$3"
id=com.norvalesystems.Fotakle

installed="$(cd "$prefix" && find . -type f ! -path './share/fotakle/FotakleFolder/*' |
    sed 's|^\./||')"
compare_listings "the installed files" "$(expected_files)" "$installed"
# The asset folder whole and alike (replay.sh checks that none is in bin).
diff -r "$assets" "$prefix/share/fotakle/FotakleFolder" >"$work/assets.diff" 2>&1 ||
    fail "the installed asset folder differs from the build's: $(head -20 "$work/assets.diff")"

# Each icon is a PNG of the size its folder names: the width and height are
# the big-endian words at bytes 16 and 20 of the header.
for folder in "$prefix"/share/icons/hicolor/*x*; do
    side="${folder##*/}"
    side="${side%%x*}"
    png="$folder/apps/$id.png"
    [ "$(head -c 8 "$png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] ||
        fail "$png is not a PNG"
    read -r width height < <(od -An -tu4 --endian=big -j16 -N8 "$png")
    [ "$width x $height" = "$side x $side" ] || fail "$png is $width x $height, not $side x $side"
done

desktop="$prefix/share/applications/$id.desktop"
metainfo="$prefix/share/metainfo/$id.metainfo.xml"
desktop-file-validate "$desktop" || fail "desktop-file-validate refused $desktop"
appstreamcli validate --no-net "$metainfo" >"$work/appstream" 2>&1 ||
    fail "appstreamcli refused $metainfo: $(cat "$work/appstream")"

# The entries point at what was installed: the program the desktop entry
# runs, the icon it shows, the entry the software centre launches, the
# release it names.
exec_program="$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")"
[ -x "$prefix/bin/$exec_program" ] || fail "the desktop entry runs \"$exec_program\", not installed"
icon="$(sed -n 's/^Icon=//p' "$desktop")"
[ -f "$prefix/share/icons/hicolor/48x48/apps/$icon.png" ] ||
    fail "the desktop entry shows the icon \"$icon\", not installed"
grep -qF "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "the software-centre entry does not launch $id.desktop"
grep -qF "<release version=\"$version\"" "$metainfo" ||
    fail "the software-centre entry does not name release $version"
for type in $(sed -n 's/^MimeType=//p' "$desktop" | tr ';' ' '); do
    grep -qF "<mediatype>$type</mediatype>" "$metainfo" ||
        fail "the desktop entry opens $type, the software-centre entry does not say so"
done

# The manual pages: macros groff accepts without a warning, and the version.
for page in "$prefix"/share/man/man1/*.1.gz; do
    zcat "$page" | groff -man -Tutf8 -ww -z 2>"$work/groff" ||
        fail "groff refused $page: $(cat "$work/groff")"
    [ ! -s "$work/groff" ] || fail "groff warns about $page: $(cat "$work/groff")"
    zcat "$page" | grep -q "^\.TH .*\"Fotakle $version\"" ||
        fail "$page does not carry version $version"
done
