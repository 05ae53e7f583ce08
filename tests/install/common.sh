# Helpers shared by the install tests: sourced, never run.

# Ends the test with a message on stderr.
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# A temporary folder removed when the test ends, in $work.
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# The files every install holds outside the asset folder, as paths under the
# prefix, one a line and sorted.
expected_files() {
    sort "$(dirname "${BASH_SOURCE[0]}")/expected-files.txt"
}

# The files of the asset folder, as paths under it, one a line and sorted.
asset_files() {
    (cd "$1" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
}

# Compares two sorted listings and names what is missing and what is extra.
compare_listings() {
    local what="$1" expected="$2" actual="$3"
    if ! diff -u <(LC_ALL=C sort <<<"$expected") <(LC_ALL=C sort <<<"$actual") >"$work/listing.diff"; then
        fail "$what are not the expected ones (- missing, + extra):
$(tail -n +3 "$work/listing.diff")"
    fi
}
