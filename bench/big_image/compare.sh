#!/usr/bin/env bash
# Measures `chromasift palette IMAGE` beside a program that only decodes IMAGE with the same decoder
# (decode_only), for a large JPEG: wall time, CPU time and peak resident memory of each whole process, the
# median of several alternating runs, and how they compare. The yardstick runs with the C library's
# huge-page heap (glibc.malloc.hugetlb=1), the fastest way to place its blocks; the tool runs as users
# start it.
#
#   bench/big_image/compare.sh [IMAGE]      (default: a 24-megapixel JPEG generated from a test image)
#
# Environment: BUILD_DIR (default build/linux, configured with the linux preset when missing), RUNS
# (default 7), CHROMASIFT (default: the build's own; another build's host, to compare two versions).
# Needs GNU time (/usr/bin/time).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${BUILD_DIR:-$root/build/linux}
runs=${RUNS:-7}
chromasift=${CHROMASIFT:-$build/bin/chromasift}

if [[ ! -f "$build/build.ninja" && ! -f "$build/Makefile" ]]; then
    (cd "$root" && cmake --preset linux >/dev/null)
fi
cmake --build "$build" --target chromasift decode_only make_big_jpeg >/dev/null

image=${1:-}
if [[ -z "$image" ]]; then
    image=$build/big_image/big_24mp.jpg
    if [[ ! -f "$image" ]]; then
        mkdir -p "$(dirname "$image")"
        "$build/bin/make_big_jpeg" "$root/tests/data/images/Aqua.jpg" "$image" 6000 4000
    fi
fi

measures=$(mktemp)
trap 'rm -f "$measures" "$measures.one"' EXIT
# One run: "<name> <wall s> <user s> <system s> <peak KiB>".
measure() {
    local name=$1
    shift
    /usr/bin/time -f "%e %U %S %M" -o "$measures.one" "$@" >/dev/null
    echo "$name $(cat "$measures.one")" >>"$measures"
}

echo "image: $image ($(stat -c %s "$image") bytes), $runs runs each, alternating"
echo "host: $chromasift"
"$build/bin/decode_only" "$image"
for ((i = 0; i < runs; ++i)); do
    measure decode env GLIBC_TUNABLES=glibc.malloc.hugetlb=1 "$build/bin/decode_only" "$image"
    measure palette "$chromasift" palette "$image"
done

awk '
function median(values, n,    i, j, t) {
    for (i = 2; i <= n; ++i)
        for (j = i; j > 1 && values[j - 1] > values[j]; --j) {
            t = values[j]; values[j] = values[j - 1]; values[j - 1] = t
        }
    return n % 2 ? values[(n + 1) / 2] : (values[n / 2] + values[n / 2 + 1]) / 2
}
{
    n[$1]++
    wall[$1, n[$1]] = $2
    cpu[$1, n[$1]] = $3 + $4
    rss[$1, n[$1]] = $5
}
END {
    split("decode palette", names, " ")
    printf "%-26s %10s %10s %14s\n", "median of each", "wall s", "cpu s", "peak RSS MiB"
    for (k = 1; k <= 2; ++k) {
        name = names[k]
        for (i = 1; i <= n[name]; ++i) { w[i] = wall[name, i]; c[i] = cpu[name, i]; r[i] = rss[name, i] }
        mw[name] = median(w, n[name]); mc[name] = median(c, n[name]); mr[name] = median(r, n[name]) / 1024
        label = name == "decode" ? "decode_only, huge pages" : "chromasift palette"
        printf "%-26s %10.3f %10.3f %14.1f\n", label, mw[name], mc[name], mr[name]
    }
    printf "wall time ratio (palette / decode): %.3f\n", mw["palette"] / mw["decode"]
    printf "cpu time ratio (palette / decode):  %.3f\n", mc["palette"] / mc["decode"]
    printf "peak memory above decode alone:     %.1f MiB\n", mr["palette"] - mr["decode"]
}' "$measures"
