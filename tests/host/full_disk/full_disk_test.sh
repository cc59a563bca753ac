#!/bin/sh
# Outputs written into a full file system: every file the tool fails to write keeps its old bytes, no
# temporary file is left beside it, the tool exits with status 1 and its message names the file and says
# that the disk is full.
#
# The file system is a tmpfs of 64 KiB mounted in a mount namespace of the test's own (unshare -m as root,
# unshare -rm otherwise), so the test needs no privileges outside it and leaves nothing mounted. Windows
# programs run under Wine with a Wine server of their own started inside that namespace: the server opens,
# creates and renames the files of its programs, so the one of the shared test session would see the real
# folder instead of the tmpfs. That server works on the test prefix through an overlay, which takes what it
# writes (registry, temporary files) and is dropped with the namespace.
#
#   full_disk_test.sh --program CHROMASIFT --work DIR
#       [--wine WINE --wineserver WINESERVER --prefix PREFIX --dll-overrides OVERRIDES]
set -u

program='' work='' wine='' wineserver='' prefix='' overrides=''
while [ $# -gt 0 ]; do
    case "$1" in
    --program) program=$2 ;;
    --work) work=$2 ;;
    --wine) wine=$2 ;;
    --wineserver) wineserver=$2 ;;
    --prefix) prefix=$2 ;;
    --dll-overrides) overrides=$2 ;;
    *) echo "full_disk: unknown argument '$1'" >&2; exit 2 ;;
    esac
    shift 2
done
[ -n "$program" ] && [ -n "$work" ] || { echo "full_disk: --program and --work are needed" >&2; exit 2; }

say() { printf 'full_disk: %s\n' "$*"; }
fail() { printf 'full_disk: %s\n' "$*" >&2; exit 1; }

disk=$work/disk
old=$work/old

if [ -n "$wine" ]; then
    export WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="$overrides"
    run() { "$wine" "$program" "$@"; }
    reason='not enough space on the disk|disk full|disk is full'
else
    run() { "$program" "$@"; }
    reason='No space left on device'
fi

# The old files the tool is asked to replace, made by the tool itself on the ordinary disk.
prepare() {
    rm -rf "$work"
    mkdir -p "$disk" "$old" || fail "cannot make $work"
    run render --size 40x30 -o "$old/render.png" >/dev/null || fail "the old picture could not be rendered"
    for format in gpl ase css json png; do
        run palette --colors 5 --format "$format" -o "$old/palette.$format" ||
            fail "the old $format palette could not be written"
    done
    if [ -n "$wine" ]; then
        printf 'spinner 1032 6\nsave %s\n' "$old/scene.json" >"$work/make_scene.txt"
        run edit --script "$work/make_scene.txt" >/dev/null || fail "the old scene could not be saved"
        printf 'spinner 1032 20\nsave\n' >"$work/change_scene.txt"
    fi
}

# Fills the disk, then frees BYTES again (whole pages): a write of more than that runs out of space part way.
fill_leaving() {
    cat /dev/zero >"$disk/filler" 2>/dev/null
    size=$(wc -c <"$disk/filler")
    truncate -s $((size - $1)) "$disk/filler" || fail "cannot shrink the filler"
}

failures=0
passes=0

# check NAME LEAVE OLD... -- ARGS...: puts the OLD files (names in $old, relative) on an empty disk, fills it
# leaving LEAVE bytes, runs the tool with ARGS and checks what it did. The first OLD file is the one the
# message names.
check() {
    name=$1 leave=$2
    shift 2
    rm -rf "${disk:?}"/* "$disk"/.[!.]* 2>/dev/null
    kept='' first=''
    while [ "$1" != -- ]; do
        mkdir -p "$disk/$(dirname "$1")"
        cp "$old/$(basename "$1")" "$disk/$1" || fail "$name: cannot put $1 on the disk"
        kept="$kept $1"
        [ -n "$first" ] || first=$1
        shift
    done
    shift
    fill_leaving "$leave"
    before=$(cd "$disk" && find . | sort)
    run "$@" >"$work/out.txt" 2>"$work/err.txt"
    status=$?
    problems=''
    [ "$status" -eq 1 ] || problems="$problems; exit status $status, not 1"
    message=$(cat "$work/err.txt")
    [ "$(wc -l <"$work/err.txt")" -eq 1 ] || problems="$problems; not one line of message"
    # Windows joins a folder and a name with a backslash: the folder and the name are looked for apart.
    printf '%s' "$message" | grep -qF "$disk" && printf '%s' "$message" | grep -qF "$(basename "$first")" ||
        problems="$problems; the message does not name $first"
    printf '%s' "$message" | grep -qiE "$reason" || problems="$problems; the message does not say the disk is full"
    for file in $kept; do
        cmp -s "$disk/$file" "$old/$(basename "$file")" || problems="$problems; $file changed"
    done
    after=$(cd "$disk" && find . | sort)
    [ "$before" = "$after" ] || problems="$problems; the disk holds other files now: $(echo $after)"
    if [ -z "$problems" ]; then
        passes=$((passes + 1))
        say "ok   $name: $message"
    else
        failures=$((failures + 1))
        say "FAIL $name${problems}"
        say "     message: $message"
    fi
}

inside() {
    mount -t tmpfs -o size=64k,mode=0755 chromasift-full "$disk" || fail "cannot mount a tmpfs on $disk"
    if [ -n "$wine" ]; then
        layers=$work/wine-layers
        mkdir -p "$layers"
        mount -t tmpfs chromasift-wine "$layers" && mkdir "$layers/upper" "$layers/work" &&
            mount -t overlay chromasift-prefix \
                -o "lowerdir=$prefix,upperdir=$layers/upper,workdir=$layers/work" "$prefix" ||
            fail "cannot lay an overlay over the Wine prefix $prefix"
        # A server of this namespace, kept while the programs run and ended before the test is.
        "$wineserver" -p60 || fail "cannot start a Wine server in the namespace"
        trap '"$wineserver" -k; "$wineserver" -w' EXIT
    fi

    check render 4096 render.png -- render --size 320x240 -o "$disk/render.png"
    check frames 4096 seq_0001.png seq_0002.png -- render --frames 1-2 --size 320x240 -o "$disk/seq_####.png"
    for format in gpl ase css json; do
        check "palette $format" 0 "palette.$format" -- palette --colors 40 --format "$format" -o "$disk/palette.$format"
    done
    check "palette png" 4096 palette.png -- palette --colors 40 --format png -o "$disk/palette.png"
    check sheet 4096 sheet.png -- sheet --size 48x36 -o "$disk/sheet.png"
    if [ -n "$wine" ]; then
        check "edit save" 4096 scene.json -- edit "$disk/scene.json" --script "$work/change_scene.txt"
        check screenshot 4096 shots/about.png -- screenshot -o "$disk/shots"
    fi
    echo "$passes passed, $failures failed"
    [ "$failures" -eq 0 ]
}

if [ "${CHROMASIFT_FULL_DISK_INSIDE:-}" = 1 ]; then
    inside
    exit $?
fi

# Without a mount namespace there is no small file system to fill: the test says so and is counted as
# skipped (status 77); the writes that fail part way are still covered by the unit tests.
skip() {
    printf 'full_disk: skipped: %s\n' "$*" >&2
    exit 77
}

command -v unshare >/dev/null 2>&1 ||
    skip "'unshare' is not installed (Debian package util-linux): this test needs a mount namespace of its own" \
        "to mount a small file system"
prepare
# The old files under the names the cases use.
for copy in seq_0001.png seq_0002.png sheet.png about.png; do
    cp "$old/render.png" "$old/$copy"
done
if [ "$(id -u)" -eq 0 ]; then
    namespace='unshare -m --propagation private'
else
    namespace='unshare -r -m --propagation private'
fi
CHROMASIFT_FULL_DISK_INSIDE=1 $namespace sh "$0" --program "$program" --work "$work" --wine "$wine" \
    --wineserver "$wineserver" --prefix "$prefix" --dll-overrides "$overrides"
status=$?
# unshare itself says why it failed; its own statuses are 1 too, so the namespace is checked separately.
if [ "$status" -ne 0 ] && ! $namespace true 2>/dev/null; then
    skip "cannot make a mount namespace with '$namespace': run the test as root, or where user namespaces are" \
        "allowed"
fi
exit "$status"
