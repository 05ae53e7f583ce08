#!/usr/bin/env bash
# The Debian package, built with CPack and inspected without installing it:
# its control fields, the dependencies dpkg-shlibdeps found, every file at
# its place under /usr and nothing else, and the copyright file in Debian's
# machine-readable format.
#   debian-package.sh CPACK BUILD ASSET_FOLDER VERSION
set -euo pipefail
source "$(dirname "$0")/common.sh"
cpack="$1"
build="$2"
assets="$3"
version="$4"

"$cpack" --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1 ||
    fail "cpack failed: $(tail -20 "$work/cpack.log")"
packages=("$work"/*.deb)
[ "${#packages[@]}" = 1 ] && [ -f "${packages[0]}" ] || fail "cpack made ${#packages[@]} packages"
deb="${packages[0]}"
[ "$(basename "$deb")" = "fotakle_${version}_$(dpkg --print-architecture).deb" ] ||
    fail "the package is named $(basename "$deb")"

dpkg-deb -I "$deb" >/dev/null || fail "dpkg-deb cannot read $deb"
field() {
    dpkg-deb -f "$deb" "$1"
}
[ "$(field Package)" = fotakle ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Section)" = graphics ] || fail "Section: $(field Section)"
[[ "$(field Maintainer)" =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]] ||
    fail "Maintainer is not \"Name <address>\": $(field Maintainer)"
[ -n "$(field Description)" ] || fail "no Description"
# The libraries the programs link, as dpkg-shlibdeps names their packages.
depends="$(field Depends)"
for library in libc6 libstdc++6 libjpeg62-turbo libgif7 libpng16-16 libwebp7 libwebpdemux2 \
    libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6 libfreetype6; do
    [[ ", $depends," == *", $library "* ]] || fail "Depends lacks $library: $depends"
done
# The screen font, read at run time.
[[ ", $depends," == *", fonts-dejavu-core,"* ]] || fail "Depends lacks fonts-dejavu-core: $depends"

# Every file at its place under /usr (one elsewhere is extra), the asset
# folder whole.
dpkg-deb --fsys-tarfile "$deb" >"$work/data.tar"
tar -tf "$work/data.tar" | grep -v '/$' | sed 's|^\./||' >"$work/files"
compare_listings "the packaged files" "$(expected_files)" \
    "$(sed 's|^usr/||' "$work/files" | grep -v '^share/fotakle/FotakleFolder/')"
compare_listings "the packaged asset folder" "$(asset_files "$assets")" \
    "$(sed -n 's|^usr/share/fotakle/FotakleFolder/||p' "$work/files")"

# The programs are stripped: no symbol table left.
mkdir "$work/root"
tar -xf "$work/data.tar" -C "$work/root" ./usr/bin ./usr/share/doc/fotakle/copyright
for program in "$work"/root/usr/bin/*; do
    ! readelf -S "$program" | grep -q '\.symtab' || fail "$(basename "$program") is not stripped"
done

# The copyright file in Debian's machine-readable format: its header, and
# a licence paragraph for every licence a Files paragraph names.
copyright="$work/root/usr/share/doc/fotakle/copyright"
[ "$(head -n 1 "$copyright")" = \
    "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ] ||
    fail "the copyright file lacks the format line"
grep -q '^Files: \*$' "$copyright" || fail "the copyright file has no Files: * paragraph"
for licence in $(sed -n 's/^License: //p' "$copyright" | sort -u); do
    awk -v name="$licence" '$0 == "License: " name { getline; if ($0 ~ /^ /) found = 1 }
                            END { exit !found }' "$copyright" ||
        fail "the copyright file names licence $licence without its text"
done
