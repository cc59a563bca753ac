#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, only those that are missing.
# Usage: scripts/install-deps.sh [--windows | --fuzz | --package | --bench | --farm | --browser]...
#   --windows adds the cross compiler and Wine, and for the tests on a real display an X server (Xvfb), input
#   events (xdotool), screen reading (xwd) and python3; --fuzz adds clang and its runtime libraries (libFuzzer
#   and the sanitizers' runtimes, which the build without recommended packages would otherwise leave out);
#   --package adds what making and testing the packages needs; --bench adds what the benchmark scripts measure
#   with (GNU time, valgrind); --farm adds the scheduler the farm tests run a one-machine cluster of (Slurm's
#   controller, node daemon and commands, and its authentication daemon); --browser adds what the export tests
#   read exported files with (Node.js and npm for the glTF validator, Chromium for the preview page).
# Says one line per step; the package manager's own output goes to build/logs/apt.log, named on failure.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build make g++ googletest libgtest-dev libgmock-dev libbenchmark-dev libstb-dev nlohmann-json3-dev libopenexr-dev pkgconf libassimp-dev fonts-dejavu-core
    python3-markdown libtinygltf-dev libjs-three)
for option in "$@"; do
    case "$option" in
    --windows) packages+=(g++-mingw-w64-x86-64-posix wine wine64 fonts-wine xvfb xdotool x11-apps python3) ;;
    --fuzz) packages+=(clang libclang-rt-dev) ;;
    --package) packages+=(dpkg-dev unzip wine wine64) ;;
    --bench) packages+=(time valgrind) ;;
    --farm) packages+=(slurmctld slurmd slurm-client munge) ;;
    --browser)
        packages+=(chromium)
        # A Node.js of another origin (NodeSource's brings its own npm) conflicts with Debian's npm: keep it.
        command -v npm >/dev/null || packages+=(nodejs npm)
        ;;
    *) echo "install-deps.sh: unknown option '$option'" >&2; exit 2 ;;
    esac
done

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

mkdir -p build/logs
log=$(realpath build/logs/apt.log)
sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive

step() {
    local what=$1
    shift
    printf '%s ... ' "$what"
    echo "== $what: $*" >>"$log"
    if "$@" >>"$log" 2>&1; then
        echo "done"
    else
        echo "failed"
        echo "The package manager's output is in $log" >&2
        exit 1
    fi
}

step "Reading the package lists" "${sudo[@]}" apt-get update
step "Installing ${missing[*]}" "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
