#!/usr/bin/env bash
# Measures `chromasift render MODEL --size WxH --mode MODE --threads N` beside a program that only reads MODEL
# with the model library, with the same properties and post-processing steps as the host's importer
# (import_only), on four large generated OBJ models: a rippled sheet of 1,000,000 quads seen at a shallow
# angle, a sheet of 1,000,000 quads facing the camera (every quad smaller than a pixel at 640x480), a
# face-on zigzag sheet of 1,000,000 flat quads whose rows alternate in depth (every quad visible), and
# 1,000 objects of 1,000 quads each. Every render runs in "Random", "Per Face" and "Object (random)", on one
# and on two threads, at 640x480 (the face-on sheets at 1920x1080 too, the zigzag sheet at 3840x2160 too).
#
# Memory is the peak of the whole process tree: the tool and the model reader it starts, their resident
# sets sampled and summed about every millisecond (tree_peak.py beside this script), the largest sum kept.
# Reported per case: the medians of several alternating runs of wall time, processor time (user + system,
# whole tree), the render step (the seconds the tool prints) and the tree's peak, and that peak's ratio to
# the import alone's. The tool's reader runs with the C library's huge-page heap (glibc.malloc.hugetlb=1),
# which speeds the model library up, and the tool places its own heap on huge pages; the import alone is
# measured with the same setting, and plain as well.
#
#   bench/import/compare.sh [MODEL[:WxH]...]      (default: the generated models; a model alone at 640x480)
#
# Environment: BUILD_DIR (default build/linux, configured with the linux preset when missing), RUNS
# (default 3), CHROMASIFT (default: the build's own), OLD_CHROMASIFT (another build's tool, for instance
# one built from an earlier commit: each case is rendered with both, alternating, both are reported, and
# their pictures are compared byte for byte, except "Random" on several threads; the script fails when a
# pair differs), MODES (default
# "Random,Per Face,Object (random)"), THREADS (default "1 2"). Makes the models with /usr/bin/python3.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${BUILD_DIR:-$root/build/linux}
runs=${RUNS:-3}
chromasift=${CHROMASIFT:-$build/bin/chromasift}
old=${OLD_CHROMASIFT:-}
IFS=, read -r -a modes <<<"${MODES:-Random,Per Face,Object (random)}"
read -r -a threads <<<"${THREADS:-1 2}"

if [[ ! -f "$build/build.ninja" && ! -f "$build/Makefile" ]]; then
    (cd "$root" && cmake --preset linux >/dev/null)
fi
cmake --build "$build" --target chromasift import_only >/dev/null

# A case is "MODEL SIZE".
cases=()
if [[ $# -eq 0 ]]; then
    dir=$build/import_bench
    mkdir -p "$dir"
    [[ -f $dir/quads_1m.obj ]] || /usr/bin/python3 "$here/make_grid_obj.py" "$dir/quads_1m.obj" 1000 1000
    [[ -f $dir/face_on_1m.obj ]] ||
        /usr/bin/python3 "$here/make_grid_obj.py" "$dir/face_on_1m.obj" 1000 1000 --face-on
    [[ -f $dir/zigzag_1m.obj ]] ||
        /usr/bin/python3 "$here/make_grid_obj.py" "$dir/zigzag_1m.obj" 1000 1000 --zigzag
    [[ -f $dir/objects_1000.obj ]] ||
        /usr/bin/python3 "$here/make_grid_obj.py" "$dir/objects_1000.obj" 40 25 1000
    cases=("$dir/quads_1m.obj 640x480" "$dir/face_on_1m.obj 640x480" "$dir/face_on_1m.obj 1920x1080"
           "$dir/zigzag_1m.obj 640x480" "$dir/zigzag_1m.obj 1920x1080" "$dir/zigzag_1m.obj 3840x2160"
           "$dir/objects_1000.obj 640x480")
else
    for model in "$@"; do
        [[ $model == *:*x* ]] && cases+=("${model%:*} ${model##*:}") || cases+=("$model 640x480")
    done
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
measures=$work/measures

# One run: appends "<case> <name> <wall s> <user s> <system s> <tree peak KiB> <render step s>". The
# render's picture is kept as $work/<name>.png for the comparison.
measure() {
    local key=$1 name=$2
    shift 2
    /usr/bin/python3 "$here/tree_peak.py" "$@" >"$work/out" 2>"$work/err" || {
        cat "$work/out" "$work/err" >&2
        exit 1
    }
    local step
    step=$(sed -n 's/.* \([0-9.]*\) s$/\1/p' "$work/out" | tail -1)
    echo "$key $name $(tail -1 "$work/err" | cut -d' ' -f1-4) ${step:--}" >>"$measures"
}

echo "host: $chromasift${old:+; before: $old}; $runs runs each, alternating"
differ=0
for case in "${cases[@]}"; do
    read -r model size <<<"$case"
    base=$(basename "$model" .obj)
    echo "$base: $(stat -c %s "$model") bytes; $("$build/bin/import_only" "$model")"
    for ((i = 0; i < runs; ++i)); do
        measure "$base@$size" import "$build/bin/import_only" "$model"
        measure "$base@$size" import_hp env GLIBC_TUNABLES=glibc.malloc.hugetlb=1 "$build/bin/import_only" "$model"
    done
    for mode in "${modes[@]}"; do
        for n in "${threads[@]}"; do
            key="$base@$size@${mode// /_}@$n"
            for ((i = 0; i < runs; ++i)); do
                render=(render "$model" --mode "$mode" --threads "$n" --size "$size")
                measure "$key" render "$chromasift" "${render[@]}" -o "$work/render.png"
                [[ -n $old ]] && measure "$key" before "$old" "${render[@]}" -o "$work/before.png"
            done
            # "Random" on the scanline renderer draws each sample's colour from one stream in the order
            # the threads come to their samples, so on several threads no two runs give the same picture.
            if [[ -n $old && $mode == Random && $n -gt 1 ]]; then
                echo "not compared, as no two runs are alike: $key"
            elif [[ -n $old ]] && ! cmp -s "$work/render.png" "$work/before.png"; then
                echo "pictures differ: $key" >&2
                differ=1
            fi
        done
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
function medians(key,    i, w, c, r, s) {
    for (i = 1; i <= n[key]; ++i) {
        w[i] = wall[key, i]; c[i] = cpu[key, i]; r[i] = peak[key, i]; s[i] = step[key, i]
    }
    mw = median(w, n[key]); mc = median(c, n[key]); mr = median(r, n[key]) / 1024; ms = median(s, n[key])
}
{
    key = $1 SUBSEP $2
    if (!(key in n)) order[++keys] = key
    n[key]++
    wall[key, n[key]] = $3
    cpu[key, n[key]] = $4 + $5
    peak[key, n[key]] = $6
    step[key, n[key]] = $7 == "-" ? 0 : $7
}
END {
    printf "\n%-42s %-7s %8s %8s %8s %11s %9s\n", "case (median)", "", "wall s", "cpu s", "step s", "tree MiB", "/ import"
    for (k = 1; k <= keys; ++k) {
        split(order[k], part, SUBSEP)
        split(part[1], what, "@")
        medians(order[k])
        if (part[2] == "import_hp") importPeak[what[1] "@" what[2]] = mr
        label = what[3] == "" ? what[1] " " what[2] : what[1] " " what[2] " " what[3] " " what[4] "t"
        gsub("_", " ", label)
        ratio = part[2] ~ /^(render|before)$/ ? sprintf("%9.2f", mr / importPeak[what[1] "@" what[2]]) : ""
        printf "%-42s %-7s %8.3f %8.3f %8s %11.1f %9s\n", label, part[2] == "import_hp" ? "import+" : part[2],
            mw, mc, part[2] ~ /^import/ ? "-" : sprintf("%.3f", ms), mr, ratio
    }
    print "\nimport: the model library alone; import+: the same with huge pages, the figure the ratios divide by"
}' "$measures"
exit $differ
