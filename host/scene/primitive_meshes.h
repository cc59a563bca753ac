#pragma once

// The meshes of the host's built-in primitives, built from their parameters. Boxes and cylinders stand
// on z = 0, spheres and planes are centred on the origin; width runs along x, length along y, height
// along z. Every quadrilateral is two triangles sharing an invisible edge, so each flat side is one
// polygon, and map channel 1 holds texture coordinates.
#include "hostsdk/mesh.h"
#include "hostsdk/mn_mesh.h"

namespace host {

// Material IDs of a box's sides, which every box primitive uses.
enum BoxSide { kBoxBottom = 0, kBoxTop = 1, kBoxFront = 2, kBoxRight = 3, kBoxBack = 4, kBoxLeft = 5 };

// 12 triangles, faces 2k and 2k + 1 forming side k (material ID k); each side maps the whole unit square.
void BuildBoxMesh(Mesh& mesh, float length, float width, float height);
// The same box as six four-sided polygons, polygon k being side k.
void BuildBoxPolyMesh(MNMesh& mesh, float length, float width, float height);
// `segments` around (at least 4) and half as many from pole to pole; u runs around, v from the bottom up.
void BuildSphereMesh(Mesh& mesh, float radius, int segments);
// A grid of lengthSegments x widthSegments quads in the plane z = 0, facing +z; (u, v) spans 0..1.
void BuildPlaneMesh(Mesh& mesh, float length, float width, int lengthSegments, int widthSegments);
// `sides` quads around (at least 3) and two caps, each cap one polygon: material ID 0 for the bottom cap,
// 1 for the top, 2 for the side.
void BuildCylinderMesh(Mesh& mesh, float radius, float height, int sides);

} // namespace host
