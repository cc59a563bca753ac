#!/usr/bin/env bash
# Counts the instructions of one shaded sample (Chromasift::EvalColor, one thread) in each distribution
# mode, under callgrind. The count is exact and repeatable, where the nanoseconds of shade_bench move by
# several from run to run on a shared or virtual machine: it shows what a change to the sample's path
# adds or saves, the timings show what that costs.
#
#   bench/shade/instructions.sh [MODE...]     (mode numbers 0 to 16; default: all)
#
# Environment: BUILD_DIR (default build/linux, configured with the linux preset when missing),
# SHADE_BENCH (default: the build's own shade_bench; another build's, to compare two versions), MIN_TIME
# (default 0.3: seconds each run lasts; more on a busy machine, where a short run records too few calls).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${BUILD_DIR:-$root/build/linux}
"$root/scripts/install-deps.sh" --bench
if [[ -z ${SHADE_BENCH:-} ]]; then
    [[ -f "$build/build.ninja" ]] || (cd "$root" && cmake --preset linux >/dev/null)
    cmake --build "$build" --target shade_bench >/dev/null
fi
bench=${SHADE_BENCH:-$build/bin/shade_bench}

modes=("$@")
[[ ${#modes[@]} -gt 0 ]] || modes=($(seq 0 16))
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
function=$'Chromasift::EvalColor(ShadeContext&)'

# Instructions per call in one run: the collected total over the calls recorded.
count() {
    local mode=$1 file=$out/$1
    valgrind --tool=callgrind --callgrind-out-file="$file" --toggle-collect="$function" \
        "$bench" --benchmark_filter="^EvalColor/$mode/real_time/threads:1\$" --benchmark_min_time="${MIN_TIME:-0.3}" \
        >/dev/null 2>"$file.log" || { cat "$file.log" >&2; exit 1; }
    local total calls
    total=$(callgrind_annotate "$file" | awk '/PROGRAM TOTALS/ { gsub(",", "", $1); print $1 }')
    calls=$(awk -v f="$function" '
        /^c?fn=\(/ {
            match($0, /\([0-9]+\)/); id = substr($0, RSTART + 1, RLENGTH - 2)
            rest = substr($0, RSTART + RLENGTH); sub(/^ /, "", rest)
            if (rest != "") name[id] = rest
            if ($0 ~ /^cfn=/) callee = name[id]
        }
        /^calls=/ && callee == f { split(substr($0, 7), counts, " "); calls += counts[1] }
        END { print calls + 0 }' "$file")
    # A run that records few calls is dominated by the first sample of a render (its tables are built
    # then) and is left out.
    if [[ $calls -lt 1000 ]]; then
        echo inf
    else
        awk -v t="$total" -v c="$calls" 'BEGIN { printf "%.1f\n", t / c }'
    fi
}

echo "$bench: instructions per EvalColor call, one thread (the least of three runs)"
for mode in "${modes[@]}"; do
    least=$(for run in 1 2 3; do count "$mode"; done | sort -g | head -1)
    if [[ $least == inf ]]; then
        echo "mode $mode: no run recorded enough calls of EvalColor" >&2
        exit 1
    fi
    printf "mode %2d  %8s\n" "$mode" "$least"
done
