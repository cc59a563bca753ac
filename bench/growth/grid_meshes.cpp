#include "grid_meshes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace growth {

GridShape ShapeFor(int facesPerElement) {
    GridShape shape;
    shape.quads = std::max(1, (facesPerElement + 1) / 2);
    shape.columns = std::max(1, static_cast<int>(std::lround(std::sqrt(static_cast<double>(shape.quads)))));
    shape.rows = (shape.quads + shape.columns - 1) / shape.columns;
    return shape;
}

void VisitGrids(int elements, int facesPerElement, const std::function<void(float, float)>& corner,
                const std::function<void(int, int, int, int, bool)>& quad) {
    const GridShape shape = ShapeFor(facesPerElement);
    const int stride = shape.columns + 1;
    const int vertsPerGrid = stride * (shape.rows + 1);
    // An odd face count cuts the last quad of each grid to one triangle.
    const bool odd = facesPerElement % 2 == 1;
    for (int e = 0; e < elements; ++e) {
        const float left = static_cast<float>(e * (shape.columns + 1));
        for (int y = 0; y <= shape.rows; ++y)
            for (int x = 0; x <= shape.columns; ++x)
                corner(left + static_cast<float>(x), static_cast<float>(y));
        const int base = e * vertsPerGrid;
        for (int q = 0; q < shape.quads; ++q) {
            const int x = q % shape.columns, y = q / shape.columns;
            const int a = base + y * stride + x;
            quad(a, a + 1, a + 1 + stride, a + stride, odd && q + 1 == shape.quads);
        }
    }
}

Mesh GridMesh(int elements, int facesPerElement) {
    Mesh mesh;
    VisitGrids(
        elements, facesPerElement, [&](float x, float y) { mesh.verts.emplace_back(x, y, 0.0f); },
        [&](int a, int b, int c, int d, bool half) {
            Face first;
            first.setVerts(static_cast<DWORD>(a), static_cast<DWORD>(b), static_cast<DWORD>(c));
            first.setEdgeVisFlags(EDGE_VIS, EDGE_VIS, half ? EDGE_VIS : EDGE_INVIS);
            mesh.faces.push_back(first);
            if (half)
                return;
            Face second;
            second.setVerts(static_cast<DWORD>(a), static_cast<DWORD>(c), static_cast<DWORD>(d));
            second.setEdgeVisFlags(EDGE_INVIS, EDGE_VIS, EDGE_VIS);
            mesh.faces.push_back(second);
        });
    return mesh;
}

MNMesh GridPolygons(int elements, int facesPerElement) {
    std::vector<Point3> corners;
    std::vector<std::array<int, 4>> quads;
    VisitGrids(
        elements, facesPerElement, [&](float x, float y) { corners.emplace_back(x, y, 0.0f); },
        [&](int a, int b, int c, int d, bool) {
            quads.push_back({a, b, c, d});
        });
    MNMesh mesh;
    mesh.setNumVerts(static_cast<int>(corners.size()));
    for (std::size_t i = 0; i < corners.size(); ++i)
        mesh.v[i].p = corners[i];
    mesh.setNumFaces(static_cast<int>(quads.size()));
    for (std::size_t i = 0; i < quads.size(); ++i)
        mesh.f[i].MakePoly(4, quads[i].data());
    mesh.InvalidateTopoCache();
    return mesh;
}

} // namespace growth
