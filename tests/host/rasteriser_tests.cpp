#include "host/render/rasteriser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <set>
#include <span>
#include <utility>
#include <vector>

namespace {

// 100 x 100 pixels; a camera-space point (x, y, -8) lands on pixel coordinates (50 + 5x, 50 - 5y), exactly.
host::Projection TestProjection() {
    host::Projection p;
    p.width = p.height = 100;
    p.xscale = p.yscale = 40.0f;
    p.xc = p.yc = 50.0f;
    p.nearDepth = 0.01f;
    return p;
}

// A mesh whose vertices are given in camera space, one triangle per entry of `faces`.
Mesh MeshOf(const std::vector<Point3>& verts, const std::vector<std::array<DWORD, 3>>& faces) {
    Mesh mesh;
    mesh.verts = verts;
    for (const auto& f : faces) {
        Face face;
        face.setVerts(f[0], f[1], f[2]);
        mesh.faces.push_back(face);
    }
    return mesh;
}

// The instance and face shown at every pixel of the picture, row by row ({-1, -1} where there is none).
std::vector<std::pair<int, int>> Shown(const host::Rasteriser& rasteriser) {
    const host::Projection& p = rasteriser.GetProjection();
    std::vector<std::pair<int, int>> shown;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const host::SurfaceHit hit = rasteriser.Hit(x, y);
            shown.emplace_back(hit.instance, hit.face);
        }
    return shown;
}

// A rasteriser that drew meshes, the first as instance 7, the next as 9 and so on (numbers that are not
// their order), and the face it shows at every pixel (-1 where there is none).
struct Drawn {
    explicit Drawn(std::vector<Mesh> drawnMeshes)
        : meshes(std::move(drawnMeshes)), rasteriser(TestProjection()) {
        for (std::size_t i = 0; i < meshes.size(); ++i)
            rasteriser.AddMesh(7 + 2 * static_cast<int>(i), meshes[i], meshes[i].verts);
        for (const auto& [instance, face] : Shown(rasteriser))
            picture.push_back(face);
    }
    host::SurfaceHit At(int x, int y) const { return rasteriser.Hit(x, y); }

    std::vector<Mesh> meshes;
    host::Rasteriser rasteriser;
    std::vector<int> picture;
};

// A picture whose pixel (x, y) is f(x, y), row by row.
template <class F> std::vector<int> PictureOf(F f) {
    std::vector<int> picture;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            picture.push_back(f(x, y));
    return picture;
}

std::vector<int> Render(const Mesh& mesh) {
    return Drawn({mesh}).picture;
}

TEST(Rasteriser, CoversExactlyThePixelCentresOfAKnownTriangle) {
    // On screen: (10, 10), (90, 10), (10, 90). Centres on the long edge (x + y = 99) lie exactly on it; it is
    // a right edge, so they stay out. The triangle spans 3 x 3 tiles. Every corner comes first once in each
    // winding, so that each holds the extremes of the bounds in turn.
    const std::vector<Point3> verts = {{-8, 8, -8}, {8, 8, -8}, {-8, -8, -8}};
    const std::vector<int> expected =
        PictureOf([](int x, int y) { return x >= 10 && y >= 10 && x + y <= 98 ? 0 : -1; });
    std::array<DWORD, 3> winding{0, 1, 2};
    do {
        EXPECT_EQ(Render(MeshOf(verts, {winding})), expected)
            << "winding " << winding[0] << winding[1] << winding[2];
    } while (std::next_permutation(winding.begin(), winding.end()));
}

// A face naming a vertex beyond the mesh's vertices draws nothing, whichever corner names it: the vertex
// past the end lies in memory, on screen, so that reading it would draw a triangle.
TEST(Rasteriser, FacesNamingAVertexBeyondTheMeshDrawNothing) {
    const std::vector<Point3> verts = {{-8, 8, -8}, {8, 8, -8}, {-8, -8, -8}, {8, -8, -8}};
    const Mesh mesh = MeshOf(verts, {{3, 1, 2}, {0, 3, 2}, {0, 1, 3}, {0, 1, 2}});
    host::Rasteriser rasteriser(TestProjection());
    rasteriser.AddMesh(0, mesh, std::span<const Point3>(verts.data(), 3));
    const std::vector<std::pair<int, int>> shown = Shown(rasteriser);
    EXPECT_EQ(std::set(shown.begin(), shown.end()), (std::set<std::pair<int, int>>{{-1, -1}, {0, 3}}));
    EXPECT_EQ(shown[80 * 100 + 80].second, -1);
}

TEST(Rasteriser, TwoTrianglesSharingAnEdgeCoverEveryPixelOnce) {
    // A square from (10, 10) to (50, 50) on screen, cut along the diagonal through the centres of pixels
    // (10, 10) ... (49, 49), and a slanted cut that passes between centres.
    const std::vector<Point3> square = {{-8, 8, -8}, {0, 8, -8}, {0, 0, -8}, {-8, 0, -8}};
    const std::vector<std::array<std::array<DWORD, 3>, 2>> cuts = {{{{0, 1, 2}, {0, 2, 3}}},
                                                                   {{{0, 1, 3}, {1, 2, 3}}}};
    for (const auto& cut : cuts) {
        const std::vector<int> first = Render(MeshOf(square, {cut[0]})),
                               second = Render(MeshOf(square, {cut[1]}));
        const auto hits = [&](int x, int y) {
            const auto i = static_cast<std::size_t>(y * 100 + x);
            return (first[i] == 0) + (second[i] == 0);
        };
        EXPECT_EQ(PictureOf(hits),
                  PictureOf([](int x, int y) { return x >= 10 && x < 50 && y >= 10 && y < 50 ? 1 : 0; }))
            << "pixels drawn twice, inside and not drawn, or outside and drawn";
    }
}

TEST(Rasteriser, NearerTriangleWinsWhateverTheOrder) {
    // On screen: the near triangle (depth 8) covers x > y, the far one (depth 16) x + y > 100.
    const std::vector<Point3> nearVerts = {{-8, 8, -8}, {8, 8, -8}, {8, -8, -8}};
    const std::vector<Point3> farVerts = {{-16, -16, -16}, {16, -16, -16}, {16, 16, -16}};
    const Mesh nearMesh = MeshOf(nearVerts, {{0, 1, 2}}), farMesh = MeshOf(farVerts, {{0, 1, 2}});
    for (bool nearFirst : {true, false}) {
        const Drawn drawn(nearFirst ? std::vector<Mesh>{nearMesh, farMesh}
                                    : std::vector<Mesh>{farMesh, nearMesh});
        const int nearInstance = nearFirst ? 7 : 9;
        // Pixel (80, 30) lies in both, pixel (30, 80) only in the far one, pixel (5, 5) in neither.
        EXPECT_EQ(drawn.At(80, 30).instance, nearInstance) << (nearFirst ? "near first" : "far first");
        EXPECT_EQ(drawn.At(30, 80).instance, 16 - nearInstance);
        EXPECT_EQ(drawn.picture[5 * 100 + 5], -1);
        EXPECT_FLOAT_EQ(drawn.At(80, 30).depth, 8.0f);
    }
}

TEST(Rasteriser, HitsArePerspectiveCorrect) {
    // A triangle slanting away from the camera, facing it and turned away from it: the point that the
    // weights give lies on the pixel's ray.
    const std::vector<Point3> verts = {{-8, -8, -8}, {8, -8, -24}, {0, 8, -16}};
    for (const auto& winding : {std::array<DWORD, 3>{0, 1, 2}, std::array<DWORD, 3>{0, 2, 1}}) {
        SCOPED_TRACE(winding[1]);
        const Drawn drawn({MeshOf(verts, {winding})});
        int checked = 0;
        for (int y = 0; y < 100; y += 3)
            for (int x = 0; x < 100; x += 3) {
                if (drawn.picture[static_cast<std::size_t>(y * 100 + x)] < 0)
                    continue;
                const host::SurfaceHit hit = drawn.At(x, y);
                const Point3& w = hit.barycentric;
                EXPECT_NEAR(w.x + w.y + w.z, 1.0f, 1e-5f);
                Point3 p;
                for (int axis = 0; axis < 3; ++axis)
                    p[axis] = w.x * verts[winding[0]][axis] + w.y * verts[winding[1]][axis] +
                              w.z * verts[winding[2]][axis];
                EXPECT_NEAR(50.0f + 40.0f * p.x / -p.z, x + 0.5f, 2e-3f) << "pixel " << x << ", " << y;
                EXPECT_NEAR(50.0f - 40.0f * p.y / -p.z, y + 0.5f, 2e-3f) << "pixel " << x << ", " << y;
                EXPECT_NEAR(hit.depth, -p.z, 1e-3f);
                ++checked;
            }
        EXPECT_GT(checked, 50);
    }
}

TEST(Rasteriser, ClipsAtTheNearPlane) {
    // One corner behind the camera: the part in front still draws, with weights inside the face.
    // Wholly behind the camera, the second draws nothing at all.
    const Drawn drawn({MeshOf({{-8, -8, -8}, {8, -8, -8}, {0, 8, 4}}, {{0, 1, 2}}),
                       MeshOf({{-8, -8, 8}, {8, -8, 8}, {0, 8, 4}}, {{0, 1, 2}})});
    int covered = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) {
            if (drawn.picture[static_cast<std::size_t>(y * 100 + x)] < 0)
                continue;
            ++covered;
            const host::SurfaceHit hit = drawn.At(x, y);
            ASSERT_EQ(hit.instance, 7);
            for (float w : {hit.barycentric.x, hit.barycentric.y, hit.barycentric.z})
                ASSERT_TRUE(w > -1e-4f && w < 1.0f + 1e-4f) << w << " at " << x << ", " << y;
            ASSERT_GE(hit.depth, 0.01f * 0.999f);
        }
    // The near part of the face reaches the bottom corners (10, 90) and (90, 90) and fans out upwards.
    EXPECT_GT(covered, 3000);
    EXPECT_EQ(drawn.picture[89 * 100 + 50], 0);
}

// A fine grid of triangles at depth 8 over most of the picture, in `copies` coplanar copies one after
// another: the copies tie everywhere, so that only the faces' order decides what shows.
constexpr int kCells = 300;
Mesh GridCopies(int copies) {
    Mesh mesh;
    for (int j = 0; j <= kCells; ++j)
        for (int i = 0; i <= kCells; ++i)
            mesh.verts.emplace_back(-9.0f + 18.0f * static_cast<float>(i) / kCells,
                                    -9.0f + 18.0f * static_cast<float>(j) / kCells, -8.0f);
    for (int copy = 0; copy < copies; ++copy)
        for (int j = 0; j < kCells; ++j)
            for (int i = 0; i < kCells; ++i) {
                const auto corner = [](int x, int y) { return static_cast<DWORD>(y * (kCells + 1) + x); };
                Face lower, upper;
                lower.setVerts(corner(i, j), corner(i + 1, j), corner(i + 1, j + 1));
                upper.setVerts(corner(i, j), corner(i + 1, j + 1), corner(i, j + 1));
                mesh.faces.push_back(lower);
                mesh.faces.push_back(upper);
            }
    return mesh;
}

// Meshes added together, large ones too, are shared out between threads across the meshes' bounds, and show
// the very faces of the meshes added one by one on one thread: the grid's two copies
// cut into pieces of uneven size (some empty, some of one face) as meshes of instances of their own.
TEST(Rasteriser, ManyMeshesSharedBetweenThreadsKeepTheirOrder) {
    const Mesh grid = GridCopies(2);
    std::vector<Mesh> pieces;
    std::size_t face = 0;
    for (const std::size_t size : {0, 1, 70000, 0, 3, 123456, 1, 65536, 1 << 20}) {
        Mesh piece;
        piece.verts = grid.verts;
        for (std::size_t end = std::min(face + size, grid.faces.size()); face < end; ++face)
            piece.faces.push_back(grid.faces[face]);
        pieces.push_back(std::move(piece));
    }
    ASSERT_EQ(face, grid.faces.size());
    host::Rasteriser oneByOne(TestProjection());
    for (std::size_t i = 0; i < pieces.size(); ++i)
        oneByOne.AddMesh(static_cast<int>(10 + i), pieces[i], pieces[i].verts);
    const auto expected = Shown(oneByOne);
    EXPECT_TRUE(
        std::any_of(expected.begin(), expected.end(), [](const auto& shown) { return shown.first == 12; }));
    // Ties go to the face drawn first: the first copy shows, whose faces lie in instances 10 to 15.
    EXPECT_TRUE(
        std::none_of(expected.begin(), expected.end(), [](const auto& shown) { return shown.first > 15; }));

    std::vector<host::Rasteriser::MeshToDraw> meshes;
    for (std::size_t i = 0; i < pieces.size(); ++i)
        meshes.push_back({static_cast<int>(10 + i), &pieces[i], pieces[i].verts});
    for (const int threads : {1, 2, 3, 7}) {
        host::Rasteriser together(TestProjection());
        together.AddMeshes(meshes, threads);
        EXPECT_EQ(Shown(together), expected) << threads << " threads";
    }
}

} // namespace
