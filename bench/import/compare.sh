#!/usr/bin/env bash
# Measures `chromasift render MODEL --size 640x480` beside a program that only reads MODEL with the model
# library, with the same properties and post-processing steps as the host's importer (import_only), for
# two large generated OBJ models: one sheet of 1,000,000 quads, and 1,000 objects of 1,000 quads each.
# Reports wall time, CPU time (user + system) and peak resident memory of each whole process (GNU time's
# %M: the largest resident set of that one process), the median of several alternating runs, and the
# ratios of the render to the import alone. The tool and its model reader run with the C library's huge-page
# allocation (glibc.malloc.hugetlb=1), which speeds the model library itself up; the import alone is
# measured both as it is and with that same setting, and the render compared with both.
#
#   bench/import/compare.sh [MODEL...]      (default: the two generated models)
#
# Environment: BUILD_DIR (default build/linux, configured with the linux preset when missing), RUNS
# (default 5), CHROMASIFT (default: the build's own; another build's host, to compare two versions),
# MODE (a --mode label; default: the model scene's own mode). Measures with GNU time (/usr/bin/time,
# installed when missing) and makes the models with /usr/bin/python3.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${BUILD_DIR:-$root/build/linux}
runs=${RUNS:-5}
chromasift=${CHROMASIFT:-$build/bin/chromasift}
"$root/scripts/install-deps.sh" --bench

if [[ ! -f "$build/build.ninja" && ! -f "$build/Makefile" ]]; then
    (cd "$root" && cmake --preset linux >/dev/null)
fi
cmake --build "$build" --target chromasift import_only >/dev/null

models=("$@")
if [[ ${#models[@]} -eq 0 ]]; then
    dir=$build/import_bench
    mkdir -p "$dir"
    [[ -f $dir/quads_1m.obj ]] || /usr/bin/python3 "$root/bench/import/make_grid_obj.py" "$dir/quads_1m.obj" 1000 1000
    [[ -f $dir/objects_1000.obj ]] ||
        /usr/bin/python3 "$root/bench/import/make_grid_obj.py" "$dir/objects_1000.obj" 40 25 1000
    models=("$dir/quads_1m.obj" "$dir/objects_1000.obj")
fi

measures=$(mktemp)
picture=$(mktemp --suffix=.png)
trap 'rm -f "$measures" "$measures.one" "$picture"' EXIT
mode=()
[[ -n ${MODE:-} ]] && mode=(--mode "$MODE")

# One run: "<model> <name> <wall s> <user s> <system s> <peak KiB>".
measure() {
    local model=$1 name=$2
    shift 2
    /usr/bin/time -f "%e %U %S %M" -o "$measures.one" "$@" >/dev/null
    echo "$(basename "$model") $name $(cat "$measures.one")" >>"$measures"
}

echo "host: $chromasift; $runs runs each, alternating"
for model in "${models[@]}"; do
    echo "$(basename "$model"): $(stat -c %s "$model") bytes; $("$build/bin/import_only" "$model")"
    for ((i = 0; i < runs; ++i)); do
        measure "$model" import "$build/bin/import_only" "$model"
        measure "$model" import_hp env GLIBC_TUNABLES=glibc.malloc.hugetlb=1 "$build/bin/import_only" "$model"
        measure "$model" render "$chromasift" render "$model" "${mode[@]}" --size 640x480 -o "$picture"
    done
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
    key = $1 SUBSEP $2
    if (!($1 in seen)) { seen[$1] = 1; order[++models] = $1 }
    n[key]++
    wall[key, n[key]] = $3
    cpu[key, n[key]] = $4 + $5
    rss[key, n[key]] = $6
}
END {
    for (m = 1; m <= models; ++m) {
        model = order[m]
        printf "\n%-34s %10s %10s %14s\n", model " (median)", "wall s", "cpu s", "peak RSS MiB"
        split("import import_hp render", names, " ")
        for (k = 1; k <= 3; ++k) {
            key = model SUBSEP names[k]
            for (i = 1; i <= n[key]; ++i) { w[i] = wall[key, i]; c[i] = cpu[key, i]; r[i] = rss[key, i] }
            mw[k] = median(w, n[key]); mc[k] = median(c, n[key]); mr[k] = median(r, n[key]) / 1024
            label = k == 1 ? "import_only (model library alone)" : k == 2 ? "import_only, huge pages" : "chromasift render 640x480"
            printf "%-34s %10.3f %10.3f %14.1f\n", label, mw[k], mc[k], mr[k]
        }
        printf "ratios render / import: wall %.2f, cpu %.2f, peak memory %.2f\n", mw[3] / mw[1], mc[3] / mc[1], mr[3] / mr[1]
        printf "ratios render / import with huge pages: wall %.2f, cpu %.2f, peak memory %.2f\n", mw[3] / mw[2], mc[3] / mc[2], mr[3] / mr[2]
    }
}' "$measures"
