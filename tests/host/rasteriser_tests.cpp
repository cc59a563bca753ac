#include "host/render/rasteriser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <vector>

namespace {

// 100 x 100 pixels; a camera-space point (x, y, -8) lands on pixel coordinates (50 + 5x, 50 - 5y), exactly.
host::Projection TestProjection() {
    host::Projection p;
    p.width = 100;
    p.height = 100;
    p.xscale = 40.0f;
    p.yscale = 40.0f;
    p.xc = 50.0f;
    p.yc = 50.0f;
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

// The nearest triangle under every pixel of the picture, row by row (-1 where there is none).
std::vector<int> ResolveAll(const host::Rasteriser& rasteriser) {
    const host::Projection& p = rasteriser.GetProjection();
    std::vector<int> picture(static_cast<std::size_t>(p.width * p.height), -2);
    host::TileVisibility visibility;
    for (int tile = 0; tile < rasteriser.NumTiles(); ++tile) {
        rasteriser.ResolveTile(tile, visibility);
        const host::TileRect& r = visibility.rect;
        for (int y = r.y0; y < r.y1; ++y)
            for (int x = r.x0; x < r.x1; ++x)
                picture[static_cast<std::size_t>(y * p.width + x)] =
                    visibility.triangle[static_cast<std::size_t>((y - r.y0) * r.Width() + x - r.x0)];
    }
    return picture;
}

std::vector<int> Render(const Mesh& mesh) {
    host::Rasteriser rasteriser(TestProjection());
    rasteriser.AddMesh(0, mesh, mesh.verts);
    rasteriser.Bin();
    return ResolveAll(rasteriser);
}

TEST(Rasteriser, CoversExactlyThePixelCentresOfAKnownTriangle) {
    // On screen: (10, 10), (90, 10), (10, 90). Centres on the long edge (x + y = 99) lie exactly on it; it is
    // a right edge, so they stay out. The triangle spans 3 x 3 tiles.
    const std::vector<Point3> verts = {{-8, 8, -8}, {8, 8, -8}, {-8, -8, -8}};
    for (const auto& winding : {std::array<DWORD, 3>{0, 1, 2}, std::array<DWORD, 3>{0, 2, 1}}) {
        const std::vector<int> picture = Render(MeshOf(verts, {winding}));
        int covered = 0, wrong = 0;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x) {
                const bool expected = x >= 10 && y >= 10 && x + y <= 98;
                const int got = picture[static_cast<std::size_t>(y * 100 + x)];
                covered += got == 0;
                if ((got == 0) != expected && ++wrong <= 5)
                    ADD_FAILURE() << "pixel (" << x << ", " << y << ") "
                                  << (expected ? "not covered" : "covered");
            }
        EXPECT_EQ(covered, 3160) << "winding " << winding[1] << winding[2];
        EXPECT_EQ(wrong, 0);
    }
}

TEST(Rasteriser, TwoTrianglesSharingAnEdgeCoverEveryPixelOnce) {
    // A square from (10, 10) to (50, 50) on screen, cut along the diagonal through the centres of pixels
    // (10, 10) ... (49, 49), and a slanted cut that passes between centres.
    const std::vector<Point3> square = {{-8, 8, -8}, {0, 8, -8}, {0, 0, -8}, {-8, 0, -8}};
    const std::vector<std::array<std::array<DWORD, 3>, 2>> cuts = {{{{0, 1, 2}, {0, 2, 3}}},
                                                                   {{{0, 1, 3}, {1, 2, 3}}}};
    for (const auto& cut : cuts) {
        const std::vector<int> first = Render(MeshOf(square, {cut[0]}));
        const std::vector<int> second = Render(MeshOf(square, {cut[1]}));
        int twice = 0, never = 0, outside = 0;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x) {
                const std::size_t i = static_cast<std::size_t>(y * 100 + x);
                const int hits = (first[i] == 0) + (second[i] == 0);
                const bool inside = x >= 10 && x < 50 && y >= 10 && y < 50;
                twice += hits == 2;
                never += inside && hits == 0;
                outside += !inside && hits != 0;
            }
        EXPECT_EQ(twice, 0);
        EXPECT_EQ(never, 0);
        EXPECT_EQ(outside, 0);
    }
}

TEST(Rasteriser, NearerTriangleWinsWhateverTheOrder) {
    // On screen: the near triangle (depth 8) covers x > y, the far one (depth 16) x + y > 100.
    const std::vector<Point3> nearVerts = {{-8, 8, -8}, {8, 8, -8}, {8, -8, -8}};
    const std::vector<Point3> farVerts = {{-16, -16, -16}, {16, -16, -16}, {16, 16, -16}};
    for (bool nearFirst : {true, false}) {
        host::Rasteriser rasteriser(TestProjection());
        const Mesh nearMesh = MeshOf(nearVerts, {{0, 1, 2}});
        const Mesh farMesh = MeshOf(farVerts, {{0, 1, 2}});
        if (nearFirst) {
            rasteriser.AddMesh(7, nearMesh, nearMesh.verts);
            rasteriser.AddMesh(9, farMesh, farMesh.verts);
        } else {
            rasteriser.AddMesh(9, farMesh, farMesh.verts);
            rasteriser.AddMesh(7, nearMesh, nearMesh.verts);
        }
        rasteriser.Bin();
        const std::vector<int> picture = ResolveAll(rasteriser);
        // Pixel (80, 30) lies in both, pixel (30, 80) only in the far one, pixel (5, 5) in neither.
        const auto instanceAt = [&](int x, int y) {
            const int t = picture[static_cast<std::size_t>(y * 100 + x)];
            return t < 0 ? -1 : rasteriser.Hit(t, x, y).instance;
        };
        EXPECT_EQ(instanceAt(80, 30), 7) << (nearFirst ? "near first" : "far first");
        EXPECT_EQ(instanceAt(30, 80), 9);
        EXPECT_EQ(instanceAt(5, 5), -1);
        EXPECT_FLOAT_EQ(rasteriser.Hit(picture[30 * 100 + 80], 80, 30).depth, 8.0f);
    }
}

TEST(Rasteriser, HitsArePerspectiveCorrect) {
    // A triangle slanting away from the camera: the point that the weights give lies on the pixel's ray.
    const std::vector<Point3> verts = {{-8, -8, -8}, {8, -8, -24}, {0, 8, -16}};
    host::Rasteriser rasteriser(TestProjection());
    const Mesh mesh = MeshOf(verts, {{0, 1, 2}});
    rasteriser.AddMesh(0, mesh, mesh.verts);
    rasteriser.Bin();
    const std::vector<int> picture = ResolveAll(rasteriser);
    int checked = 0;
    for (int y = 0; y < 100; y += 3)
        for (int x = 0; x < 100; x += 3) {
            const int t = picture[static_cast<std::size_t>(y * 100 + x)];
            if (t < 0)
                continue;
            const host::SurfaceHit hit = rasteriser.Hit(t, x, y);
            const Point3& w = hit.barycentric;
            EXPECT_NEAR(w.x + w.y + w.z, 1.0f, 1e-5f);
            const Point3 p(w.x * verts[0].x + w.y * verts[1].x + w.z * verts[2].x,
                           w.x * verts[0].y + w.y * verts[1].y + w.z * verts[2].y,
                           w.x * verts[0].z + w.y * verts[1].z + w.z * verts[2].z);
            EXPECT_NEAR(50.0f + 40.0f * p.x / -p.z, x + 0.5f, 2e-3f) << "pixel " << x << ", " << y;
            EXPECT_NEAR(50.0f - 40.0f * p.y / -p.z, y + 0.5f, 2e-3f) << "pixel " << x << ", " << y;
            EXPECT_NEAR(hit.depth, -p.z, 1e-3f);
            ++checked;
        }
    EXPECT_GT(checked, 50);
}

TEST(Rasteriser, ClipsAtTheNearPlane) {
    // One corner behind the camera: the part in front still draws, with weights inside the face.
    const std::vector<Point3> crossing = {{-8, -8, -8}, {8, -8, -8}, {0, 8, 4}};
    host::Rasteriser rasteriser(TestProjection());
    const Mesh mesh = MeshOf(crossing, {{0, 1, 2}});
    rasteriser.AddMesh(0, mesh, mesh.verts);
    // Wholly behind the camera: nothing at all.
    const Mesh behind = MeshOf({{-8, -8, 8}, {8, -8, 8}, {0, 8, 4}}, {{0, 1, 2}});
    rasteriser.AddMesh(1, behind, behind.verts);
    rasteriser.Bin();
    const std::vector<int> picture = ResolveAll(rasteriser);
    int covered = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) {
            const int t = picture[static_cast<std::size_t>(y * 100 + x)];
            if (t < 0)
                continue;
            ++covered;
            const host::SurfaceHit hit = rasteriser.Hit(t, x, y);
            ASSERT_EQ(hit.instance, 0);
            for (float w : {hit.barycentric.x, hit.barycentric.y, hit.barycentric.z})
                ASSERT_TRUE(w > -1e-4f && w < 1.0f + 1e-4f) << w << " at " << x << ", " << y;
            ASSERT_GE(hit.depth, 0.01f * 0.999f);
        }
    // The near part of the face reaches the bottom corners (10, 90) and (90, 90) and fans out upwards.
    EXPECT_GT(covered, 3000);
    EXPECT_EQ(picture[89 * 100 + 50], 0);
}

// A large mesh shared out between threads gives the very triangles, in the very order, of one thread: two
// coplanar copies of a fine grid tie everywhere, so that only the faces' order decides what shows.
TEST(Rasteriser, ALargeMeshSharedBetweenThreadsKeepsItsFacesOrder) {
    constexpr int kCells = 300;
    Mesh mesh;
    for (int j = 0; j <= kCells; ++j)
        for (int i = 0; i <= kCells; ++i)
            mesh.verts.emplace_back(-9.0f + 18.0f * static_cast<float>(i) / kCells,
                                    -9.0f + 18.0f * static_cast<float>(j) / kCells, -8.0f);
    for (int copy = 0; copy < 2; ++copy)
        for (int j = 0; j < kCells; ++j)
            for (int i = 0; i < kCells; ++i) {
                const auto corner = [](int x, int y) { return static_cast<DWORD>(y * (kCells + 1) + x); };
                Face lower, upper;
                lower.setVerts(corner(i, j), corner(i + 1, j), corner(i + 1, j + 1));
                upper.setVerts(corner(i, j), corner(i + 1, j + 1), corner(i, j + 1));
                mesh.faces.push_back(lower);
                mesh.faces.push_back(upper);
            }
    const auto render = [&mesh](int threads) {
        host::Rasteriser rasteriser(TestProjection());
        rasteriser.AddMesh(3, mesh, mesh.verts, threads);
        rasteriser.Bin();
        std::vector<int> faces;
        for (const int triangle : ResolveAll(rasteriser))
            faces.push_back(triangle < 0 ? -1 : rasteriser.Hit(triangle, 0, 0).face);
        return std::make_pair(rasteriser.NumTriangles(), faces);
    };
    const auto one = render(1);
    ASSERT_GT(one.first, 0);
    for (const int threads : {2, 5}) {
        const auto shared = render(threads);
        EXPECT_EQ(shared.first, one.first) << threads << " threads";
        EXPECT_EQ(shared.second, one.second) << threads << " threads";
    }
    EXPECT_LT(*std::max_element(one.second.begin(), one.second.end()), 2 * kCells * kCells)
        << "the first copy shows";
}

} // namespace
