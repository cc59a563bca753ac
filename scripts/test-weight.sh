#!/usr/bin/env bash
# How much of the project is tests, counted two ways from the files git tracks:
#   C++:   the C++ under tests/ against every other C++ file
#   whole: adding the Python, shell and JavaScript tests under tests/ to the tests, and leaving the fuzz and
#          benchmark programs (fuzz/, bench/) out of the code
set -euo pipefail
if [[ ${1:-} == -h || ${1:-} == --help ]]; then
    sed -n '2,5p' "$0" | sed 's/^# \{0,1\}//'
    exit 0
fi
cd "$(dirname "$0")/.."

lines() { xargs -r cat | wc -l; }

cxx_tests=$(git ls-files 'tests/*.cpp' 'tests/*.h' | lines)
cxx_code=$(git ls-files '*.cpp' '*.h' | grep -v '^tests/' | lines)
script_tests=$(git ls-files 'tests/*.py' 'tests/*.sh' 'tests/*.sh.in' 'tests/*.js' | lines)
fuzz_bench=$(git ls-files 'fuzz/*.cpp' 'fuzz/*.h' 'bench/*.cpp' 'bench/*.h' | lines)

share() { awk -v t="$1" -v c="$2" 'BEGIN { printf "%.1f%%", 100 * t / c }'; }

printf 'C++:   %6d lines of tests against %6d of code: %s\n' "$cxx_tests" "$cxx_code" \
    "$(share "$cxx_tests" "$cxx_code")"
whole_tests=$((cxx_tests + script_tests))
whole_code=$((cxx_code - fuzz_bench))
printf 'whole: %6d lines of tests against %6d of code: %s (scripted tests %d, fuzz and benchmarks %d left out)\n' \
    "$whole_tests" "$whole_code" "$(share "$whole_tests" "$whole_code")" "$script_tests" "$fuzz_bench"
