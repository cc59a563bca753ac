#!/usr/bin/env bash
# Makes the user guide's pictures with the host tool itself, into docs/guide/images/.
# Usage: scripts/guide-pictures.sh [TOOL]
#   TOOL defaults to build/linux/bin/chromasift (run './run build linux' first). The rollout pictures
#   (about.png, parameters_*.png, reorder.png) need the Windows build's windows; they are remade too when
#   build/windows/bin/chromasift.exe exists (under Wine, './run build windows').
set -euo pipefail
cd "$(dirname "$0")/.."

tool=${1:-build/linux/bin/chromasift}
[[ -x "$tool" ]] || { echo "$tool not found: build it first with './run build linux'" >&2; exit 1; }
out=docs/guide/images
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

photo=tests/data/images/rubberwhale1.png
# Wide and low: the built-in scene and the tile floor fill it, with no empty band of sky above them.
size=400x220

# A floor of 6 x 4 separate tiles, for the modes that read an input map or a tile map's numbers: each tile
# carries its tile number in map channel 99 (as a tile map writes it, negated in u) and the floor's texture
# coordinates in channel 1; the map's input map is a bitmap texture of a painting.
python3 - "$work/tile-floor.json" <<'PY'
import json, sys
columns, rows, gap = 6, 4, 0.08
verts, faces, uv, tiles = [], [], [], []
for r in range(rows):
    for c in range(columns):
        x0, y0 = c + gap, r + gap
        x1, y1 = c + 1 - gap, r + 1 - gap
        base = len(verts)
        for x, y in ((x0, y0), (x1, y0), (x1, y1), (x0, y1)):
            verts.append([x * 10, y * 10, 0])
            uv.append([x / columns, y / rows, 0])
        faces.append([base, base + 1, base + 2, base + 3])
        tiles.append([-(r * columns + c) - 0.5, 0, 0])
scene = {
    "format": "chromasift-scene", "version": 1,
    "objects": [
        {"id": 1, "superClass": "0xc10", "class": ["0x61c17ce2", "0x2fa47e5b"], "name": "Chromasift",
         "paramBlocks": [{"ref": 0, "block": 0, "params": [
             {"id": 19, "type": "int", "value": 2},
             {"id": 4, "type": "texmap", "value": 2},
             {"id": 5, "type": "bool", "value": True}]}]},
        {"id": 2, "superClass": "0xc10", "class": ["0x240", "0x0"], "name": "Input picture",
         "settings": {"mapName": "tests/data/images/starry_night.jpg"}},
        {"id": 3, "superClass": "0xc00", "class": ["0x2", "0x0"], "references": [{"ref": 1, "object": 1}]},
        {"id": 4, "superClass": "0x10", "class": ["0x5d21369a", "0x2a4c6e13"], "settings": {"polyMesh": {
            "verts": verts, "faces": faces,
            "maps": [{"channel": 1, "verts": uv, "faces": faces},
                     {"channel": 99, "verts": tiles, "faces": [[i] * 4 for i in range(len(faces))]}]}}},
        {"id": 10, "superClass": "0x1", "class": ["0x0", "0x0"], "name": "Floor",
         "references": [{"ref": 0, "object": 4}, {"ref": 1, "object": 3}]}],
    "maps": [1], "nodes": [10]}
with open(sys.argv[1], "w") as f:
    json.dump(scene, f)
PY

# Each distribution mode: the built-in scene in the built-in picture's colours, or the tile floor for the
# modes that read an input map or tile numbers.
slug() { tr 'A-Z' 'a-z' <<<"$1" | sed 's/[^a-z0-9]\{1,\}/-/g; s/^-//; s/-$//'; }
render_mode() {
    local mode=$1 scene=("${@:2}")
    "$tool" --quiet render "${scene[@]}" --mode "$mode" --colors 12 --size "$size" \
        -o "$out/mode-$(slug "$mode").png" >/dev/null
}
for mode in "Random" "Linear" "Mirror" "Object (linear)" "Object (random)" "Per Element" "Object ID" \
    "Material ID" "Per Face" "1D Mapping" "2D Mapping" "3D Mapping" "As Tiles"; do
    render_mode "$mode"
done
render_mode "VRay Instance (rnd)" --renderer vray
for mode in "Input map" "BerconTile(Lin)" "BerconTile(Rnd)"; do
    render_mode "$mode" "$work/tile-floor.json"
done

# The mental ray stand-in beside the host's renderer: "Per Face" numbers polygons differently there.
"$tool" --quiet render --renderer mentalray --mode "Per Face" --colors 12 --size "$size" \
    -o "$out/mentalray-per-face.png" >/dev/null

# Palettes of one photograph: as extracted, each harmony template, each sort order, a skip.
palette() {
    local name=$1
    shift
    "$tool" --quiet palette "$photo" --format png -o "$out/palette-$name.png" "$@" >/dev/null
}
palette extracted --colors 12
palette skip2 --colors 12 --skip 2
for harmony in i V L I T Y X; do
    case "$harmony" in [a-z]) name=$harmony-small ;; *) name=$harmony ;; esac
    palette "harmony-$name" --colors 12 --harmony "$harmony"
done
for sort in hue value hue-desc value-desc; do
    palette "sort-$sort" --colors 12 --sort "$sort"
done

# The photograph the palettes come from, small.
"$tool" --quiet render --bitmap "$photo" --mode "2D Mapping" --colors 12 --size "$size" \
    -o "$out/photo-2d-mapping.png" >/dev/null

# The colour adjustments on one mode.
"$tool" --quiet render --mode "Object (linear)" --colors 12 --gamma 2.2 --size "$size" \
    -o "$out/adjust-gamma.png" >/dev/null
"$tool" --quiet render --mode "Object (linear)" --colors 12 --saturation 40 --size "$size" \
    -o "$out/adjust-saturation.png" >/dev/null

# Contact sheets: every mode beside the palette.
"$tool" --quiet sheet --colors 12 -o "$out/sheet-builtin.png" >/dev/null
"$tool" --quiet sheet tests/data/meshes/spider.obj --bitmap "$photo" --colors 12 \
    -o "$out/sheet-spider.png" >/dev/null

# The rollouts and the reorder dialog, from the Windows build when there is one.
windows_tool=build/windows/bin/chromasift.exe
if [[ -x build/windows/wine-run && -f "$windows_tool" ]]; then
    build/windows/wine-run "$windows_tool" screenshot -o "$out" >/dev/null
else
    echo "No Windows build: the rollout pictures (about.png, parameters_*.png, reorder.png) are left as they are."
fi
echo "Pictures written to $out"
