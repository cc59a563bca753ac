#!/usr/bin/env bash
# What an export costs beside a render and beside reading the model alone: the benchmark's rippled sheet of
# 1,000,000 quads exported in "Per Face" (exactly, one material per colour) against its render at 640x480 and
# against the model library reading it alone (import_only, with the huge-page heap the tool's reader uses),
# and a 4096 x 4096 bake of spider.obj in "2D Mapping". Every figure is the median of RUNS runs (default 3):
# wall seconds and the peak memory of the whole process tree (bench/import/tree_peak.py), with the ratios
# the export is held to (time against the render, peak against the import alone).
#
#   bench/export/export_costs.sh
#
# Environment: BUILD_DIR (default build/linux, configured with the linux preset when missing), RUNS.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${BUILD_DIR:-$root/build/linux}
runs=${RUNS:-3}
"$root/scripts/install-deps.sh" --bench
[[ -f "$build/build.ninja" ]] || (cd "$root" && cmake --preset linux >/dev/null)
cmake --build "$build" --target chromasift import_only >/dev/null
tool=$build/bin/chromasift
models=$build/import_bench
mkdir -p "$models"
sheet=$models/quads_1m.obj
[[ -f $sheet ]] || /usr/bin/python3 "$root/bench/import/make_grid_obj.py" "$sheet" 1000 1000
spider=$root/tests/data/meshes/spider.obj
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The medians of RUNS runs of a command: "<wall s> <tree peak MiB>".
measure() {
    : >"$work/runs"
    for ((run = 0; run < runs; ++run)); do
        /usr/bin/python3 "$root/bench/import/tree_peak.py" "$@" >/dev/null 2>"$work/err" || {
            cat "$work/err" >&2
            exit 1
        }
        tail -1 "$work/err" >>"$work/runs"
    done
    local middle=$(((runs + 1) / 2))
    echo "$(cut -d' ' -f1 "$work/runs" | sort -g | sed -n "${middle}p")" \
        "$(cut -d' ' -f4 "$work/runs" | sort -g | sed -n "${middle}p" | awk '{ printf "%.0f", $1 / 1024 }')"
}

read -r import_s import_mib < <(measure env GLIBC_TUNABLES=glibc.malloc.hugetlb=1 "$build/bin/import_only" "$sheet")
read -r render_s render_mib < <(measure "$tool" render "$sheet" --mode "Per Face" -o "$work/sheet.png")
read -r export_s export_mib < <(measure "$tool" export "$sheet" --mode "Per Face" -o "$work/sheet.glb")
read -r bake_s bake_mib < <(measure "$tool" export "$spider" --mode "2D Mapping" --texture-size 4096 -o "$work/spider.glb")

echo "| case | wall s | tree peak MiB | ratio |"
echo "|---|---|---|---|"
echo "| 1M-quad sheet, import alone (huge-page heap) | $import_s | $import_mib | |"
echo "| 1M-quad sheet, render \"Per Face\" 640x480 | $render_s | $render_mib | |"
echo "| 1M-quad sheet, export \"Per Face\" .glb | $export_s | $export_mib |" \
    "$(awk -v e="$export_s" -v r="$render_s" -v p="$export_mib" -v i="$import_mib" \
        'BEGIN { printf "%.2fx the render'"'"'s time, %.2fx the import'"'"'s peak", e / r, p / i }') |"
echo "| spider.obj, bake \"2D Mapping\" 4096x4096 .glb | $bake_s | $bake_mib | |"
