#!/usr/bin/env bash
# Exports a model's preview page and opens it in headless Chromium from the file system, with the network
# off: at least three of the palette's colours must show on the model.
#   preview_in_browser.sh CHROMASIFT DATA_FOLDER
set -euo pipefail
tool=$1 data=$2
here=$(cd "$(dirname "$0")" && pwd)
out=$(mktemp -d "${TMPDIR:-/tmp}/chromasift-preview-XXXXXX")
trap 'rm -rf "$out"' EXIT
"$tool" export "$data/meshes/spider.obj" --mode "Per Face" --unlit -o "$out/spider.html"
python3 "$here/preview_screenshot.py" "$out/spider.html" 3
