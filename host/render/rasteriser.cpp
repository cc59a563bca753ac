#include "host/render/rasteriser.h"

#include "host/render/transform_math.h"

#include "hostsdk/large_arrays.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cmath>
#include <exception>
#include <stdexcept>
#include <thread>

namespace host {

namespace {

// The pixel range whose centres (p + 0.5) lie within lo..hi, limited to 0..size - 1 (empty when lo > hi).
void PixelSpan(float lo, float hi, int size, int& first, int& last) {
    const float limit = static_cast<float>(size);
    first = static_cast<int>(std::ceil(std::clamp(lo - 0.5f, -1.0f, limit)));
    last = static_cast<int>(std::floor(std::clamp(hi - 0.5f, -1.0f, limit)));
    first = std::max(first, 0);
    last = std::min(last, size - 1);
}

// Triangle numbers are twice the face numbers (plus one), kept in 32 bits.
constexpr std::int64_t kMaxFaces = (std::int64_t{1} << 31) - 1;

} // namespace

Rasteriser::Rasteriser(const Projection& projection) : projection(projection) {
    tilesX = (std::max(projection.width, 0) + kTileSize - 1) / kTileSize;
    tilesY = (std::max(projection.height, 0) + kTileSize - 1) / kTileSize;
    const std::size_t pixels = static_cast<std::size_t>(std::max(projection.width, 0)) *
                               static_cast<std::size_t>(std::max(projection.height, 0));
    ReserveLarge(visible, pixels);
    visible.assign(pixels, 0);
}

Rasteriser::Edge Rasteriser::MakeEdge(float ax, float ay, float bx, float by) {
    Edge edge;
    const bool forward = ax < bx || (ax == bx && ay < by);
    edge.ax = forward ? ax : bx;
    edge.ay = forward ? ay : by;
    edge.dx = forward ? bx - ax : ax - bx;
    edge.dy = forward ? by - ay : ay - by;
    edge.sign = forward ? 1.0f : -1.0f;
    // Inside lies where the value grows; a pixel centre exactly on the edge belongs to the triangle when the
    // edge is a left edge (inside towards +x) or a top edge (horizontal, inside towards +y, down the screen).
    const float gradientX = -edge.sign * edge.dy;
    const float gradientY = edge.sign * edge.dx;
    edge.topLeft = gradientX > 0.0f || (gradientX == 0.0f && gradientY > 0.0f);
    return edge;
}

void Rasteriser::AddMesh(int instance, const Mesh& mesh, std::span<const Point3> cameraVerts, int threads) {
    const MeshToDraw one{instance, &mesh, cameraVerts};
    AddMeshes(std::span<const MeshToDraw>(&one, 1), threads);
}

void Rasteriser::AddMeshes(std::span<const MeshToDraw> meshes, int threads) {
    // Below this many faces a share is not worth a thread.
    constexpr std::int64_t kFacesPerThread = 1 << 16;
    const std::size_t firstMesh = drawn.size();
    for (const MeshToDraw& draw : meshes) {
        drawn.push_back(draw);
        drawnFirst.push_back(numFaces);
        numFaces += draw.mesh->getNumFaces();
    }
    if (numFaces > kMaxFaces)
        throw std::length_error("a render of more than 2^31 - 1 faces");
    const std::int64_t base = firstMesh < drawn.size() ? drawnFirst[firstMesh] : numFaces;
    const std::int64_t faces = numFaces - base;
    const int parts = static_cast<int>(
        std::clamp<std::int64_t>(std::min<std::int64_t>(threads, faces / kFacesPerThread), 1, 64));
    // Share `part` draws the faces from faces * part / parts on, up to the next share's first.
    const auto share = [&](int part) {
        const std::int64_t first = base + faces * part / parts, end = base + faces * (part + 1) / parts;
        for (std::size_t m = firstMesh; m < drawn.size(); ++m) {
            const std::int64_t meshFirst = drawnFirst[m];
            const std::int64_t meshEnd = meshFirst + drawn[m].mesh->getNumFaces();
            if (meshEnd <= first || meshFirst >= end)
                continue;
            const std::int64_t from = std::max(first, meshFirst);
            DrawFaces(drawn[m], static_cast<int>(from - meshFirst),
                      static_cast<int>(std::min(end, meshEnd) - meshFirst), from, parts > 1);
        }
    };
    std::vector<std::exception_ptr> failures(static_cast<std::size_t>(parts));
    const auto guarded = [&](int part) {
        try {
            share(part);
        } catch (...) {
            failures[static_cast<std::size_t>(part)] = std::current_exception();
        }
    };
    std::vector<std::thread> helpers;
    for (int part = 1; part < parts; ++part)
        helpers.emplace_back(guarded, part);
    guarded(0);
    for (std::thread& helper : helpers)
        helper.join();
    for (const std::exception_ptr& failure : failures)
        if (failure)
            std::rethrow_exception(failure);
}

void Rasteriser::DrawFaces(const MeshToDraw& draw, int first, int end, std::int64_t number, bool shared) {
    for (int f = first; f < end; ++f, ++number) {
        const FaceTriangles made = MakeTriangles(draw, f);
        for (int i = 0; i < 2; ++i)
            if (made.made[i])
                Draw(made.triangles[i], static_cast<std::uint32_t>(2 * number + i), shared);
    }
}

Rasteriser::FaceTriangles Rasteriser::MakeTriangles(const MeshToDraw& draw, int f) const {
    FaceTriangles out;
    const Face& face = draw.mesh->faces[static_cast<std::size_t>(f)];
    const std::span<const Point3> cameraVerts = draw.cameraVerts;
    if (face.v[0] >= cameraVerts.size() || face.v[1] >= cameraVerts.size() || face.v[2] >= cameraVerts.size())
        return out;
    const ClipVertex corners[3] = {{cameraVerts[face.v[0]], Point3(1.0f, 0.0f, 0.0f)},
                                   {cameraVerts[face.v[1]], Point3(0.0f, 1.0f, 0.0f)},
                                   {cameraVerts[face.v[2]], Point3(0.0f, 0.0f, 1.0f)}};
    // Clip at the near plane (depth -z >= nearDepth): a triangle becomes a polygon of up to four corners.
    const float nearDepth = projection.nearDepth;
    ClipVertex kept[4];
    int count = 0;
    for (int i = 0; i < 3; ++i) {
        const ClipVertex& p = corners[i];
        const ClipVertex& q = corners[(i + 1) % 3];
        const float dp = -p.camera.z, dq = -q.camera.z;
        const bool pIn = dp >= nearDepth, qIn = dq >= nearDepth;
        if (pIn)
            kept[count++] = p;
        if (pIn != qIn) {
            const float t = (nearDepth - dp) / (dq - dp);
            kept[count++] = {Add(p.camera, Scale(Sub(q.camera, p.camera), t)),
                             Add(p.corners, Scale(Sub(q.corners, p.corners), t))};
        }
    }
    for (int i = 1; i + 1 < count; ++i)
        out.made[i - 1] = MakeTriangle(kept[0], kept[i], kept[i + 1], out.triangles[i - 1]);
    return out;
}

bool Rasteriser::MakeTriangle(const ClipVertex& a, const ClipVertex& b, const ClipVertex& c,
                              Triangle& t) const {
    const ClipVertex* v[3] = {&a, &b, &c};
    for (int i = 0; i < 3; ++i) {
        const Point3& p = v[i]->camera;
        t.inverseDepth[i] = 1.0f / -p.z;
        t.x[i] = projection.xc + projection.xscale * p.x * t.inverseDepth[i];
        t.y[i] = projection.yc - projection.yscale * p.y * t.inverseDepth[i];
        if (!std::isfinite(t.x[i]) || !std::isfinite(t.y[i]) || !std::isfinite(t.inverseDepth[i]))
            return false;
    }
    const float area = (t.x[1] - t.x[0]) * (t.y[2] - t.y[0]) - (t.y[1] - t.y[0]) * (t.x[2] - t.x[0]);
    if (area == 0.0f || !std::isfinite(area))
        return false;
    // Both sides render: a triangle facing away is turned round, so that inside is always positive.
    if (area < 0.0f) {
        std::swap(v[1], v[2]);
        std::swap(t.x[1], t.x[2]);
        std::swap(t.y[1], t.y[2]);
        std::swap(t.inverseDepth[1], t.inverseDepth[2]);
    }
    for (int i = 0; i < 3; ++i)
        t.corners[i] = v[i]->corners;
    return true;
}

Rasteriser::Setup Rasteriser::MakeSetup(const Triangle& t) const {
    Setup setup;
    for (int i = 0; i < 3; ++i) {
        const int from = (i + 1) % 3, to = (i + 2) % 3;
        setup.edges[i] = MakeEdge(t.x[from], t.y[from], t.x[to], t.y[to]);
    }
    PixelSpan(std::min({t.x[0], t.x[1], t.x[2]}), std::max({t.x[0], t.x[1], t.x[2]}), projection.width,
              setup.x0, setup.x1);
    PixelSpan(std::min({t.y[0], t.y[1], t.y[2]}), std::max({t.y[0], t.y[1], t.y[2]}), projection.height,
              setup.y0, setup.y1);
    return setup;
}

void Rasteriser::Draw(const Triangle& t, std::uint32_t order, bool shared) {
    const Setup setup = MakeSetup(t);
    const Edge& e0 = setup.edges[0];
    const Edge& e1 = setup.edges[1];
    const Edge& e2 = setup.edges[2];
    const std::uint64_t low = ~order;
    for (int y = setup.y0; y <= setup.y1; ++y) {
        const float py = static_cast<float>(y) + 0.5f;
        // The same arithmetic as Edge::Value, with the row's terms taken out of the loop.
        const float r0 = e0.dx * (py - e0.ay), r1 = e1.dx * (py - e1.ay), r2 = e2.dx * (py - e2.ay);
        std::uint64_t* row =
            visible.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(projection.width);
        for (int x = setup.x0; x <= setup.x1; ++x) {
            const float px = static_cast<float>(x) + 0.5f;
            const float w0 = e0.sign * (r0 - e0.dy * (px - e0.ax));
            const float w1 = e1.sign * (r1 - e1.dy * (px - e1.ax));
            const float w2 = e2.sign * (r2 - e2.dy * (px - e2.ax));
            if (!e0.Covers(w0) || !e1.Covers(w1) || !e2.Covers(w2))
                continue;
            const float sum = w0 + w1 + w2;
            const float inverseDepth =
                (w0 * t.inverseDepth[0] + w1 * t.inverseDepth[1] + w2 * t.inverseDepth[2]) / sum;
            if (!(inverseDepth > 0.0f))
                continue;
            const std::uint64_t value =
                std::uint64_t{std::bit_cast<std::uint32_t>(inverseDepth)} << 32 | (low & 0xffffffffu);
            std::uint64_t& cell = row[x];
            if (!shared) {
                cell = std::max(cell, value);
                continue;
            }
            std::atomic_ref<std::uint64_t> nearest(cell);
            std::uint64_t seen = nearest.load(std::memory_order_relaxed);
            while (value > seen && !nearest.compare_exchange_weak(seen, value, std::memory_order_relaxed)) {
            }
        }
    }
}

TileRect Rasteriser::Tile(int tile) const {
    TileRect rect;
    rect.x0 = (tile % tilesX) * kTileSize;
    rect.y0 = (tile / tilesX) * kTileSize;
    rect.x1 = std::min(rect.x0 + kTileSize, projection.width);
    rect.y1 = std::min(rect.y0 + kTileSize, projection.height);
    return rect;
}

SurfaceHit Rasteriser::Hit(int x, int y, HitMemo& memo) const {
    SurfaceHit hit;
    const std::uint64_t value =
        visible[static_cast<std::size_t>(y) * static_cast<std::size_t>(projection.width) +
                static_cast<std::size_t>(x)];
    if (value == 0)
        return hit;
    const std::int64_t order = ~static_cast<std::uint32_t>(value);
    if (order != memo.order) {
        const std::int64_t number = order / 2;
        const std::size_t m = static_cast<std::size_t>(
            std::upper_bound(drawnFirst.begin(), drawnFirst.end(), number) - drawnFirst.begin() - 1);
        memo.order = order;
        memo.instance = drawn[m].instance;
        memo.face = static_cast<int>(number - drawnFirst[m]);
        memo.triangle = MakeTriangles(drawn[m], memo.face).triangles[order % 2];
        memo.setup = MakeSetup(memo.triangle);
    }
    const Triangle& t = memo.triangle;
    const Setup& setup = memo.setup;
    const float px = static_cast<float>(x) + 0.5f, py = static_cast<float>(y) + 0.5f;
    float w[3];
    for (int i = 0; i < 3; ++i)
        w[i] = setup.edges[i].Value(px, py);
    const float sum = w[0] + w[1] + w[2];
    // Screen-space weights become weights in the triangle's plane by dividing through by depth.
    float perspective[3];
    float inverseDepth = 0.0f;
    for (int i = 0; i < 3; ++i) {
        perspective[i] = w[i] / sum * t.inverseDepth[i];
        inverseDepth += perspective[i];
    }
    hit.instance = memo.instance;
    hit.face = memo.face;
    hit.depth = 1.0f / inverseDepth;
    Point3 weights(perspective[0] / inverseDepth, perspective[1] / inverseDepth,
                   perspective[2] / inverseDepth);
    hit.barycentric = Blend(weights, t.corners[0], t.corners[1], t.corners[2]);
    return hit;
}

} // namespace host
