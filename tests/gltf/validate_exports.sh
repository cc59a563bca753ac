#!/usr/bin/env bash
# Exports the built-in scene and a model in modes that export exactly and modes that bake, as .glb and as
# .gltf, and has Khronos's validator read every file: no error and no warning.
#   validate_exports.sh CHROMASIFT VALIDATOR_FOLDER DATA_FOLDER
set -euo pipefail
tool=$1 validator=$2 data=$3
here=$(cd "$(dirname "$0")" && pwd)
out=$(mktemp -d "${TMPDIR:-/tmp}/chromasift-gltf-XXXXXX")
trap 'rm -rf "$out"' EXIT
spider=$data/meshes/spider.obj
"$tool" export --mode "Per Face" --unlit -o "$out/builtin-faces.glb"
"$tool" export --mode "VRay Instance (rnd)" --renderer vray -o "$out/builtin-instances.gltf"
"$tool" export "$spider" --mode "Per Element" -o "$out/spider-elements.glb"
"$tool" export "$spider" --mode "2D Mapping" --texture-size 128 -o "$out/spider baked.gltf" 2>/dev/null
"$tool" export "$spider" --mode "As Tiles" --texture-size 128 --unlit -o "$out/spider-tiles.glb" 2>/dev/null
node "$here/validate.js" "$validator" "$out"/*.glb "$out"/*.gltf
