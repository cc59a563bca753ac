#pragma once

// Meshes of flat square grids for the growth measurements: `elements` separate grids side by side,
// `facesPerElement` triangles each (two to a quad, the last quad of a grid may be cut to one triangle).
#include "hostsdk/mesh.h"
#include "hostsdk/mn_mesh.h"

#include <functional>

namespace growth {

// One grid's size: quads per row and rows, the last row possibly short.
struct GridShape {
    int quads = 0;
    int columns = 0;
    int rows = 0;
};
GridShape ShapeFor(int facesPerElement);

// Calls corner(x, y) for every vertex and quad(a, b, c, d) for every quad of the grids, in order; the
// vertices of grid k lie at x offsets beside grid k - 1, one unit apart.
void VisitGrids(int elements, int facesPerElement, const std::function<void(float, float)>& corner,
                const std::function<void(int, int, int, int, bool)>& quad);

// Triangle mesh: the quads' diagonals are invisible edges, so the polygons are the quads.
Mesh GridMesh(int elements, int facesPerElement);
// Polygon mesh of the quads (half as many faces as the triangle mesh).
MNMesh GridPolygons(int elements, int facesPerElement);

} // namespace growth
