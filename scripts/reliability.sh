#!/usr/bin/env bash
# The reliability campaign, kept as a script so that what it found stays
# mended. Five stages:
#   loads  every test picture, the fuzz seeds, hand-made hostile headers and
#          damaged copies through the six load modes of fotakle-batch: the
#          sanitizer build under a time and an RSS limit, then the release
#          build under an address-space limit, measured with /usr/bin/time
#   fuzz   each libFuzzer target for a minute over a copy of its seeds, two
#          at a time
#   kills  saves of a large picture over an existing file killed with
#          SIGKILL at random moments: the file is always the old or the new
#          one, at most one hidden leftover exists and the next save removes it
#   disk   a save that does not fit a small tmpfs, and one to a read-only
#          one, fail with the reason and leave the old file (needs mount)
#   storm  20,000 random keys and commands through `fotakle --replay` of the
#          sanitizer build, its peak memory printed and bounded
# It prints what it tries and each failure, and exits non-zero on any.
#
#   scripts/reliability.sh [STAGE...]     all stages when none is named
#
# Needs both builds: scripts/build.sh and scripts/build.sh --sanitize
# (scripts/test.sh and scripts/test.sh --sanitize make them).
set -uo pipefail
cd "$(dirname "$0")/.." || exit 2
root="$PWD"

sanitized="$root/build-sanitize/bin"
release="$root/build/bin"
for program in "$sanitized/fotakle-batch" "$sanitized/fotakle" "$release/fotakle-batch"; do
    if [ ! -x "$program" ]; then
        echo "reliability: $program is missing; build it first (scripts/build.sh [--sanitize])" >&2
        exit 2
    fi
done

stages=("$@")
if ((${#stages[@]} == 0)); then
    stages=(loads fuzz kills disk storm)
fi
work="$(mktemp -d "${TMPDIR:-/tmp}/fotakle-reliability-XXXXXX")"
mounted=""
cleanup() {
    if [ -n "$mounted" ]; then
        umount "$mounted" 2>/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:allocator_may_return_null=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export QT_QPA_PLATFORM=offscreen

# Hostile files --------------------------------------------------------------
#
# Bytes collect in OUT as printf escapes; flush writes them to a file.
OCT=()
for ((i = 0; i < 256; i++)); do printf -v 'OCT[i]' '\\%03o' "$i"; done
OUT=""
u8() { OUT+="${OCT[$(($1 & 255))]}"; }
le16() { u8 "$1"; u8 $(($1 >> 8)); }
le32() { le16 $(($1 & 65535)); le16 $((($1 >> 16) & 65535)); }
be16() { u8 $(($1 >> 8)); u8 "$1"; }
repeat() {
    local i
    for ((i = 0; i < $1; i++)); do u8 "$2"; done
}
flush() {
    printf "$OUT" >"$1"
    OUT=""
}

# bmp WIDTH HEIGHT BITS COLOURS_USED PIXEL_BYTES [PIXEL_OFFSET]: a BMP header
# and its colour table, followed by only PIXEL_BYTES bytes of rows.
bmp() {
    local width="$1" height="$2" bits="$3" colours="$4" pixels="$5" table=0 i
    if ((bits <= 8)); then table=$((4 << bits)); fi
    OUT+='BM'
    le32 $((54 + table + pixels)); le32 0; le32 "${6:-$((54 + table))}"
    le32 40; le32 "$width"; le32 "$height"; le16 1; le16 "$bits"; le32 0; le32 0
    le32 2835; le32 2835; le32 "$colours"; le32 0
    for ((i = 0; i < table / 4; i++)); do u8 $((i * 37)); u8 $((i * 91)); u8 $((i * 53)); u8 0; done
    for ((i = 0; i < pixels; i++)); do u8 $((i * 7 + 3)); done
}

# gif SCREEN_W SCREEN_H LEFT TOP FRAME_W FRAME_H INTERLACED PIXELS [cut]: a
# GIF with a two-colour global table (background index 1, not black) whose
# first frame holds PIXELS pixels of LZW data: pairs of colour 0, each after
# a clear code, all codes 3 bits wide, in 255-byte sub-blocks. With cut the
# file ends inside the data.
gif() {
    local acc=0 nbits=0 bytes=() code i n at size
    OUT+='GIF89a'
    le16 "$1"; le16 "$2"; u8 0xF1; u8 1; u8 0
    u8 0; u8 0; u8 0; u8 200; u8 30; u8 90; u8 9; u8 9; u8 9; u8 250; u8 250; u8 250
    u8 0x2C; le16 "$3"; le16 "$4"; le16 "$5"; le16 "$6"; u8 $(($7 ? 0x40 : 0))
    for ((i = 0; i < ($8 + 1) / 2; i++)); do
        for code in 4 0 0; do
            acc=$((acc | (code << nbits)))
            nbits=$((nbits + 3))
            while ((nbits >= 8)); do
                bytes+=($((acc & 255)))
                acc=$((acc >> 8))
                nbits=$((nbits - 8))
            done
        done
    done
    if ((nbits > 0)); then bytes+=($((acc & 255))); fi
    u8 2
    n=${#bytes[@]}
    at=0
    while ((at < n)); do
        size=$((n - at > 255 ? 255 : n - at))
        u8 "$size"
        for ((i = at; i < at + size; i++)); do u8 "${bytes[i]}"; done
        at=$((at + size))
    done
    if [ -z "${9:-}" ]; then u8 0; u8 0x3B; fi
}

# jpeg WIDTH HEIGHT DATA_BYTES [progressive]: a grey JPEG header whose
# Huffman tables make every block of two zero bits, then DATA_BYTES zero
# bytes and no end marker.
jpeg() {
    u8 0xFF; u8 0xD8
    u8 0xFF; u8 0xDB; be16 67; u8 0; repeat 64 1
    u8 0xFF; u8 $((${4:-0} ? 0xC2 : 0xC0)); be16 11; u8 8; be16 "$2"; be16 "$1"
    u8 1; u8 1; u8 0x11; u8 0
    u8 0xFF; u8 0xC4; be16 20; u8 0x00; u8 1; repeat 15 0; u8 0
    u8 0xFF; u8 0xC4; be16 20; u8 0x10; u8 1; repeat 15 0; u8 0
    u8 0xFF; u8 0xDA; be16 8; u8 1; u8 1; u8 0
    if ((${4:-0})); then u8 0; u8 0; u8 0; else u8 0; u8 63; u8 0; fi
    repeat "$3" 0
}

make_hostile_files() {
    local d="$1"
    mkdir -p "$d"
    bmp 32767 32767 24 0 100; flush "$d/bmp-24-32767x32767-100-bytes.bmp"
    bmp 32767 -32767 24 0 100; flush "$d/bmp-24-top-down-32767x32767.bmp"
    bmp 32767 32767 1 0 64; flush "$d/bmp-1-32767x32767.bmp"
    bmp 32767 32767 32 0 64; flush "$d/bmp-32-32767x32767.bmp"
    bmp 10000 10000 24 0 64; flush "$d/bmp-24-10000x10000-at-the-limit.bmp"
    bmp 10001 10000 24 0 64; flush "$d/bmp-24-10001x10000-over-the-limit.bmp"
    bmp 32767 1 24 0 64; flush "$d/bmp-24-32767x1.bmp"
    bmp 1 32767 8 0 64; flush "$d/bmp-8-1x32767.bmp"
    bmp 300 200 8 305402420 64; flush "$d/bmp-8-colours-used-huge.bmp"
    bmp 32767 32767 24 0 64 4000000000; flush "$d/bmp-24-offset-past-the-end.bmp"
    gif 6723 9287 0 0 0 9287 1 0; flush "$d/gif-zero-width-interlaced-frame.gif"
    gif 10000 10000 0 0 10000 10000 0 12000 cut; flush "$d/gif-10000-frame-cut-after-a-row.gif"
    gif 10000 10000 0 0 10000 10000 1 12000 cut; flush "$d/gif-10000-interlaced-frame-cut.gif"
    gif 10000 10000 0 0 1 10000 0 10000; flush "$d/gif-1-wide-10000-tall-frame.gif"
    gif 10000 10000 9000 9000 10000 10000 0 12000 cut; flush "$d/gif-frame-mostly-off-screen.gif"
    gif 10000 10000 20000 20000 5 5 0 25; flush "$d/gif-frame-off-screen.gif"
    gif 10001 100 0 0 10 10 0 100; flush "$d/gif-screen-10001-wide.gif"
    jpeg 32767 32767 100; flush "$d/jpeg-grey-32767x32767-no-data.jpg"
    jpeg 32767 32767 100 1; flush "$d/jpeg-progressive-32767x32767-no-data.jpg"
    jpeg 30000 200 100; flush "$d/jpeg-grey-30000x200-no-data.jpg"
    jpeg 8000 8000 100; flush "$d/jpeg-grey-8000x8000-no-data.jpg"
}

# Damaged copies of test pictures: cut short at a random point, or with a
# few random bytes overwritten. The same every run.
make_damaged_copies() {
    local d="$1" file size n copy at
    shift
    mkdir -p "$d"
    RANDOM=20260101
    for file in "$@"; do
        size=$(stat -c %s "$file")
        if ((size < 16)); then continue; fi
        for n in 1 2; do
            copy="$d/$n-$(basename "$file")"
            if ((n == 1)); then
                head -c $(((RANDOM * 32768 + RANDOM) % (size - 1) + 1)) "$file" >"$copy"
            else
                cp "$file" "$copy"
                for _ in 1 2 3 4 5 6; do
                    at=$(((RANDOM * 32768 + RANDOM) % size))
                    printf "${OCT[$((RANDOM % 256))]}" |
                        dd of="$copy" bs=1 seek="$at" conv=notrunc status=none
                done
            fi
        done
    done
}

# Stage: loads ---------------------------------------------------------------

mode_options=("" "--box 176 180" "--thumbnail --box 36 36" "--thumbnail --small --box 44 45"
    "--mask --box 60 45" "--into")
mode_names=(plain box thumbnail small mask into)

stage_loads() {
    echo "== loads: every picture through the six load modes"
    local inputs=() file
    while IFS= read -r -d '' file; do
        inputs+=("$file")
    done < <(find tests/data fuzz/corpus -type f \
        \( -iname '*.bmp' -o -iname '*.gif' -o -iname '*.jpg' -o -iname '*.jpeg' \) -print0 | sort -z)
    local test_files=${#inputs[@]}
    make_hostile_files "$work/hostile"
    local hostile=("$work"/hostile/*)
    # Damaged copies of every third test picture.
    local sample=() i
    for ((i = 0; i < test_files; i += 3)); do sample+=("${inputs[i]}"); done
    make_damaged_copies "$work/damaged" "${sample[@]}"
    local damaged=("$work"/damaged/*)
    inputs+=("${hostile[@]}" "${damaged[@]}")
    echo "   ${#inputs[@]} files: $test_files test pictures and seeds, ${#hostile[@]} hostile" \
        "headers, ${#damaged[@]} damaged copies; ${#mode_names[@]} modes each"

    # The sanitizer build: no crash, no report, an answer in time. Exit 0
    # (loaded) or 1 (refused) are the only answers.
    local list="$work/loads.txt" out="$work/load-out"
    mkdir -p "$out"
    : >"$list"
    for file in "${inputs[@]}"; do
        for i in "${!mode_names[@]}"; do
            printf '%s\t%s\n' "$i" "$file" >>"$list"
        done
    done
    export -f run_sanitized_load
    export sanitized out
    export mode_options_joined
    mode_options_joined="$(printf '%s;' "${mode_options[@]}")"
    local results="$work/sanitized-results.txt"
    tr '\n' '\0' <"$list" | xargs -0 -P 2 -n 1 bash -c 'run_sanitized_load "$0"' >"$results"
    local runs bad line
    runs=$(wc -l <"$results")
    bad=$(grep -cv '^ok' "$results")
    echo "   sanitizer build: $runs loads, $bad failed"
    while IFS= read -r line; do fail "$line"; done < <(grep -v '^ok' "$results")

    # The release build under an address-space limit: what a load costs,
    # for every file under 1 MB. Loads with a box (all the editor makes)
    # must stay within 64 MB, JPEG included (the coefficients a progressive
    # picture keeps are bounded by the file's size, LibjpegCodec.cpp); a
    # plain load makes the picture the file declares, up to 100 megapixels
    # (300 MB).
    local measured="$work/release-results.txt"
    export -f run_release_load
    export release
    tr '\n' '\0' <"$list" | xargs -0 -P 2 -n 1 bash -c 'run_release_load "$0"' >"$measured"
    report_worst "boxed, BMP and GIF" '$4 != "plain" && $6 !~ /\.(jpe?g|JPE?G)$/' "$measured"
    report_worst "boxed, JPEG" '$4 != "plain" && $6 ~ /\.(jpe?g|JPE?G)$/' "$measured"
    report_worst "plain" '$4 == "plain"' "$measured"
    while IFS= read -r line; do fail "over 64 MB with a box: $line"; done < <(
        awk '$4 != "plain" && $2 > 65536' "$measured")
    while IFS= read -r line; do fail "over 100 megapixels' 300 MB: $line"; done < <(
        awk '$4 == "plain" && $2 > 327680' "$measured")
    while IFS= read -r line; do fail "release build: $line"; done < <(
        awk '$5 != "0" && $5 != "1"' "$measured")
}

# report_worst TITLE AWK_CONDITION FILE: the loads that took the most memory
# and the most time among the lines of FILE that match.
report_worst() {
    local memory time
    memory=$(awk "$2" "$3" | sort -k2 -n | tail -1)
    time=$(awk "$2" "$3" | sort -k3 -n | tail -1)
    if [ -z "$memory" ]; then return; fi
    echo "   release build, $1: most memory $(awk '{printf "%.1f MB (%s, %s)", $2 / 1024, $4, $6}' <<<"$memory")"
    echo "   release build, $1: most CPU time $(awk '{printf "%s s, %s s elapsed (%s, %s)", $3, $1, $4, $6}' <<<"$time")"
}

# One load by the sanitizer build: "ok" or what went wrong.
run_sanitized_load() {
    local mode="${1%%$'\t'*}" file="${1#*$'\t'}" status options
    IFS=';' read -r -a options <<<"$mode_options_joined"
    local target="$out/$BASHPID.bmp"
    # shellcheck disable=SC2086
    ASAN_OPTIONS="$ASAN_OPTIONS:hard_rss_limit_mb=2048" timeout 60 \
        "$sanitized/fotakle-batch" load ${options[mode]} "$file" "$target" >/dev/null 2>"$target.err"
    status=$?
    rm -f "$target"
    if ((status == 0 || status == 1)); then
        echo ok
    else
        echo "load ${options[mode]:-(plain)} $file: exit $status $(grep -m1 -E 'ERROR|runtime error|Sanitizer' "$target.err")"
    fi
    rm -f "$target.err"
}

# One load by the release build under 1.5 GB of address space: seconds,
# peak KB, CPU seconds, mode, exit status, file; only files under 1 MB.
run_release_load() {
    local mode="${1%%$'\t'*}" file="${1#*$'\t'}" status options
    if (($(stat -c %s "$file") >= 1048576)); then return; fi
    IFS=';' read -r -a options <<<"$mode_options_joined"
    local names=(plain box thumbnail small mask into)
    local target="$out/release-$BASHPID.bmp"
    # shellcheck disable=SC2086
    (
        ulimit -v 1572864
        /usr/bin/time -f '%e %M %U %S' -o "$target.time" timeout 20 \
            "$release/fotakle-batch" load ${options[mode]} "$file" "$target" >/dev/null 2>&1
    )
    status=$?
    # time puts a line about the exit status first when it is not 0.
    read -r seconds kilobytes user system < <(tail -1 "$target.time")
    rm -f "$target" "$target.time"
    echo "$seconds $kilobytes $(awk "BEGIN { print $user + $system }") ${names[mode]} $status $file"
}

# Stage: fuzz ----------------------------------------------------------------

stage_fuzz() {
    echo "== fuzz: each target for 60 s over a copy of its seeds, two at a time"
    local target folder
    declare -A seeds=([Bmp]="fuzz/corpus/bmp tests/data/bmpsuite" [Gif]="fuzz/corpus/gif tests/data/gif"
        [Jpeg]="fuzz/corpus/jpeg tests/data/jpeg" [Png]="fuzz/corpus/png"
        [Webp]="fuzz/corpus/webp" [Exif]="fuzz/corpus/exif" [Recipe]="fuzz/corpus/recipe")
    local targets=(Bmp Gif Jpeg Png Webp Exif Recipe)
    run_fuzzer() {
        local name="$1" corpus="$work/fuzz-$1" folder
        mkdir -p "$corpus" "$work/artifacts-$1"
        for folder in ${seeds[$name]}; do
            find "$folder" -type f -exec cp -t "$corpus" {} + 2>/dev/null
        done
        ASAN_OPTIONS="$ASAN_OPTIONS:detect_leaks=1" "$sanitized/Fuzz$name" -max_total_time=60 \
            -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 \
            -artifact_prefix="$work/artifacts-$1/" "$corpus" >"$work/fuzz-$name.log" 2>&1
        echo $? >"$work/fuzz-$name.status"
    }
    local i
    for ((i = 0; i < ${#targets[@]}; i += 2)); do
        run_fuzzer "${targets[i]}" &
        if ((i + 1 < ${#targets[@]})); then
            run_fuzzer "${targets[i + 1]}" &
        fi
        wait
    done
    for target in "${targets[@]}"; do
        local log="$work/fuzz-$target.log" status
        status=$(cat "$work/fuzz-$target.status")
        local runs coverage features
        runs=$(grep -m1 -o 'stat::number_of_executed_units: [0-9]*' "$log" | grep -o '[0-9]*$')
        coverage=$(grep -E '^#[0-9]+' "$log" | tail -1 | grep -o 'cov: [0-9]*' | grep -o '[0-9]*')
        features=$(grep -E '^#[0-9]+' "$log" | tail -1 | grep -o 'ft: [0-9]*' | grep -o '[0-9]*')
        echo "   Fuzz$target: ${runs:-?} executions, coverage ${coverage:-?} edges," \
            "${features:-?} features, exit $status"
        if [ "$status" != 0 ]; then
            fail "Fuzz$target: $(grep -m1 -E 'ERROR|runtime error|crash|leak|timeout' "$log")" \
                "(artifacts: $(ls "$work/artifacts-$target" | tr '\n' ' '))"
            tail -30 "$log"
        fi
    done
}

# Stage: kills ---------------------------------------------------------------

stage_kills() {
    local kills=50
    echo "== kills: $kills saves over an existing file killed at random moments"
    local d="$work/kills"
    mkdir -p "$d/pictures" "$d/expected"
    # Two large pictures of different sizes, and what saving each gives.
    "$release/fotakle-batch" resample 3000 2000 tests/data/jpeg/ljt-testorig.jpg "$d/one.bmp" >/dev/null &&
        "$release/fotakle-batch" resample 2600 1900 tests/data/gif/giflib-porsche.gif \
            "$d/two.bmp" >/dev/null || {
        fail "kills: cannot make the pictures"
        return
    }
    local batch="$sanitized/fotakle-batch" name
    for name in one two; do
        "$batch" save "$d/$name.bmp" "$d/expected/$name.bmp" || fail "kills: a plain save failed"
    done
    local target="$d/pictures/photo.bmp"
    cp "$d/expected/one.bmp" "$target"
    local start end duration
    start=$(date +%s%N)
    "$batch" save "$d/two.bmp" "$target" || fail "kills: a timed save failed"
    end=$(date +%s%N)
    duration=$(((end - start) / 1000)) # microseconds
    echo "   a whole save takes $((duration / 1000)) ms; kills fall anywhere in it"
    RANDOM=4242
    local i old new pid delay leftovers killed=0 finished=0 most=0
    old="two"
    for ((i = 0; i < kills; i++)); do
        new=$([ "$old" = one ] && echo two || echo one)
        delay=$(((RANDOM * 32768 + RANDOM) % duration))
        "$batch" save "$d/$new.bmp" "$target" 2>/dev/null &
        pid=$!
        sleep "$(printf '%d.%06d' $((delay / 1000000)) $((delay % 1000000)))"
        if kill -9 "$pid" 2>/dev/null; then killed=$((killed + 1)); fi
        wait "$pid" 2>/dev/null
        if cmp -s "$target" "$d/expected/$new.bmp"; then
            old="$new"
            finished=$((finished + 1))
        elif ! cmp -s "$target" "$d/expected/$old.bmp"; then
            fail "kill $i: the target is neither the old nor the new picture"
            cp "$d/expected/$old.bmp" "$target"
        fi
        leftovers=$(find "$d/pictures" -mindepth 1 ! -name photo.bmp | wc -l)
        ((leftovers > most)) && most=$leftovers
        if ((leftovers > 1)); then
            fail "kill $i: $leftovers files beside the target: $(ls -A "$d/pictures" | tr '\n' ' ')"
        fi
    done
    "$batch" save "$d/$old.bmp" "$target" || fail "kills: the save after the kills failed"
    leftovers=$(find "$d/pictures" -mindepth 1 ! -name photo.bmp | wc -l)
    echo "   $killed killed while running, $((kills - killed)) had ended; the target was the new" \
        "picture $finished times and the old one otherwise; at most $most hidden leftover at a" \
        "time, $leftovers after the next save"
    if ((leftovers != 0)); then
        fail "kills: the next save left $(ls -A "$d/pictures" | tr '\n' ' ')"
    fi
}

# Stage: disk ----------------------------------------------------------------

stage_disk() {
    echo "== disk: a full disk and a read-only one"
    local d="$work/disk"
    mkdir -p "$d"
    if ! mount -t tmpfs -o size=4m tmpfs "$d" 2>/dev/null; then
        echo "   skipped: mounting a tmpfs is not permitted here"
        return
    fi
    mounted="$d"
    local batch="$sanitized/fotakle-batch" big="$work/big.bmp" status
    "$release/fotakle-batch" resample 2000 1000 tests/data/gif/giflib-porsche.gif "$big" >/dev/null
    "$batch" save tests/data/gif/giflib-porsche.gif "$d/photo.bmp" || fail "disk: a small save failed"
    cp "$d/photo.bmp" "$work/old.bmp"
    cp "$d/photo.bmp" "$d/photo.jpg"
    # Fill the disk but for 32 KB.
    dd if=/dev/zero of="$d/filler" bs=64k status=none 2>/dev/null
    truncate -s -32K "$d/filler"
    for name in photo.bmp photo.jpg; do
        cp "$d/$name" "$work/old-$name"
        "$batch" save "$big" "$d/$name" 2>"$work/disk.err"
        status=$?
        if ((status != 1)) || ! grep -q "cannot write $d/$name: No space left on device" "$work/disk.err"; then
            fail "disk: saving $name on a full disk gave exit $status: $(cat "$work/disk.err")"
        else
            echo "   full disk, $name: $(cat "$work/disk.err")"
        fi
        cmp -s "$d/$name" "$work/old-$name" || fail "disk: $name changed on a full disk"
    done
    if [ "$(ls -A "$d" | wc -l)" != 3 ]; then fail "disk: left behind: $(ls -A "$d" | tr '\n' ' ')"; fi
    mount -o remount,ro "$d"
    "$batch" save tests/data/gif/giflib-wedge.gif "$d/photo.bmp" 2>"$work/disk.err"
    status=$?
    if ((status != 1)) || ! grep -q "Read-only file system" "$work/disk.err"; then
        fail "disk: saving on a read-only disk gave exit $status: $(cat "$work/disk.err")"
    else
        echo "   read-only disk: $(cat "$work/disk.err")"
    fi
    cmp -s "$d/photo.bmp" "$work/old.bmp" || fail "disk: the file changed on a read-only disk"
    umount "$d" && mounted=""
}

# Stage: storm ---------------------------------------------------------------

stage_storm() {
    local actions=20000
    echo "== storm: $actions random keys and commands through fotakle --replay (sanitizer build)"
    local d="$work/storm"
    mkdir -p "$d/pictures" "$d/config/Norvale Systems Inc."
    cp tests/data/jpeg/ljt-testorig.jpg tests/data/gif/giflib-porsche.gif \
        tests/data/bmpsuite/g/pal8.bmp "$d/pictures/"
    if [ -d "$work/hostile" ]; then
        cp "$work/hostile/bmp-24-32767x32767-100-bytes.bmp" \
            "$work/hostile/gif-zero-width-interlaced-frame.gif" "$d/pictures/"
    fi
    printf '[MainSection]\nWorkFolder=%s\n' "$d/pictures" >"$d/config/Norvale Systems Inc./fotakle.ini"
    local keys=(left right up down enter back 0 1 2 3 4 5 6 7 8 9 soft1 soft2)
    local commands=(40001 40015 40016 40018 40019 40020 40021 40024 40026 40027 40028 40029 40035
        40036 40037 40038 40039 40040 40041 40042 40043 40044 40045 40046 40047 40048 40049 40050
        40051 40052 40053 40054 50001 50002 50011 50012 50021 50031 50041 50051)
    RANDOM=777
    {
        echo "answers no"
        local i roll
        for ((i = 1; i < actions; i++)); do
            roll=$((RANDOM % 100))
            if ((roll < 55)); then
                echo "key ${keys[RANDOM % ${#keys[@]}]}"
            elif ((roll < 65)); then
                echo "press ${keys[RANDOM % 4]}"
            elif ((roll < 70)); then
                echo "release"
            elif ((roll < 97)); then
                echo "command ${commands[RANDOM % ${#commands[@]}]}"
            elif ((roll < 99)); then
                echo "menu $([ $((RANDOM % 2)) = 0 ] && echo file || echo object)"
            else
                echo "print state"
            fi
        done
    } >"$d/script"
    local status peak
    XDG_CONFIG_HOME="$d/config" /usr/bin/time -f '%M %e' -o "$d/time" timeout 900 \
        "$sanitized/fotakle" --replay "$d/script" >"$d/out" 2>"$d/err"
    status=$?
    read -r peak seconds <"$d/time"
    echo "   $actions actions in $seconds s, exit $status, peak memory $((peak / 1024)) MB" \
        "(under AddressSanitizer), $(grep -c '^question:' "$d/out") questions," \
        "$(grep -c '^saveas:' "$d/out") Save-as dialogs"
    if ((status != 0)); then
        fail "storm: exit $status: $(grep -m3 -E 'line|ERROR|runtime error' "$d/err")"
    fi
    if ((peak > 1024 * 1024)); then
        fail "storm: peak memory $((peak / 1024)) MB, more than 1024 MB"
    fi
}

# ---------------------------------------------------------------------------

started=$(date +%s)
for stage in "${stages[@]}"; do
    case "$stage" in
        loads | fuzz | kills | disk | storm)
            stage_started=$(date +%s)
            "stage_$stage"
            echo "   ($stage: $(($(date +%s) - stage_started)) s)"
            ;;
        *)
            echo "reliability: unknown stage $stage (loads fuzz kills disk storm)" >&2
            exit 2
            ;;
    esac
done
echo "== done in $(($(date +%s) - started)) s: $failures failures"
((failures == 0))
