#include "host/render/rasteriser.h"

#include "host/render/transform_math.h"

#include "hostsdk/large_arrays.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <exception>
#include <functional>
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

} // namespace

Rasteriser::Rasteriser(const Projection& projection) : projection(projection) {
    tilesX = (std::max(projection.width, 0) + kTileSize - 1) / kTileSize;
    tilesY = (std::max(projection.height, 0) + kTileSize - 1) / kTileSize;
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
    std::vector<std::int64_t> firstFaces; // of each mesh, counted through all of them
    std::int64_t faces = 0;
    for (const MeshToDraw& draw : meshes) {
        firstFaces.push_back(faces);
        faces += draw.mesh->getNumFaces();
    }
    const int parts = static_cast<int>(
        std::clamp<std::int64_t>(std::min<std::int64_t>(threads, faces / kFacesPerThread), 1, 64));
    // Share `part` draws the faces from faces * part / parts on, up to the next share's first.
    const auto share = [&](int part, Share& out) {
        const std::int64_t first = faces * part / parts, end = faces * (part + 1) / parts;
        // Room for a triangle per face, made once: only the pages written become memory, and a list that
        // grew by doubling would leave its earlier copies behind in the thread's heap.
        ReserveLarge(out.triangles, static_cast<std::size_t>(end - first));
        for (std::size_t m = 0; m < meshes.size(); ++m) {
            const std::int64_t meshFirst = firstFaces[m];
            const std::int64_t meshEnd = meshFirst + meshes[m].mesh->getNumFaces();
            if (meshEnd <= first || meshFirst >= end)
                continue;
            AddFaces(meshes[m].instance, *meshes[m].mesh, meshes[m].cameraVerts,
                     static_cast<int>(std::max(first, meshFirst) - meshFirst),
                     static_cast<int>(std::min(end, meshEnd) - meshFirst), out);
        }
    };
    // Each share fills a list of its own; the lists stay where they are, numbered one after another.
    std::vector<Share> made(static_cast<std::size_t>(parts));
    std::vector<std::exception_ptr> failures(static_cast<std::size_t>(parts));
    const auto guarded = [&](int part) {
        try {
            share(part, made[static_cast<std::size_t>(part)]);
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
    for (Share& more : made) {
        if (more.triangles.empty())
            continue;
        shareFirst.push_back(numTriangles);
        numTriangles += static_cast<int>(more.triangles.size());
        shares.push_back(std::move(more));
    }
}

void Rasteriser::AddFaces(int instance, const Mesh& mesh, std::span<const Point3> cameraVerts, int first,
                          int end, Share& out) const {
    const float nearDepth = projection.nearDepth;
    for (int f = first; f < end; ++f) {
        const Face& face = mesh.faces[static_cast<std::size_t>(f)];
        if (face.v[0] >= cameraVerts.size() || face.v[1] >= cameraVerts.size() ||
            face.v[2] >= cameraVerts.size())
            continue;
        const ClipVertex corners[3] = {{cameraVerts[face.v[0]], Point3(1.0f, 0.0f, 0.0f)},
                                       {cameraVerts[face.v[1]], Point3(0.0f, 1.0f, 0.0f)},
                                       {cameraVerts[face.v[2]], Point3(0.0f, 0.0f, 1.0f)}};
        // Clip at the near plane (depth -z >= nearDepth): a triangle becomes a polygon of up to four corners.
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
            AddTriangle(instance, f, kept[0], kept[i], kept[i + 1], out);
    }
}

void Rasteriser::AddTriangle(int instance, int face, const ClipVertex& a, const ClipVertex& b,
                             const ClipVertex& c, Share& out) const {
    const ClipVertex* v[3] = {&a, &b, &c};
    Triangle t;
    for (int i = 0; i < 3; ++i) {
        const Point3& p = v[i]->camera;
        t.inverseDepth[i] = 1.0f / -p.z;
        t.x[i] = projection.xc + projection.xscale * p.x * t.inverseDepth[i];
        t.y[i] = projection.yc - projection.yscale * p.y * t.inverseDepth[i];
        if (!std::isfinite(t.x[i]) || !std::isfinite(t.y[i]) || !std::isfinite(t.inverseDepth[i]))
            return;
    }
    const float area = (t.x[1] - t.x[0]) * (t.y[2] - t.y[0]) - (t.y[1] - t.y[0]) * (t.x[2] - t.x[0]);
    if (area == 0.0f || !std::isfinite(area))
        return;
    // Both sides render: a triangle facing away is turned round, so that inside is always positive.
    const bool turned = area < 0.0f;
    if (turned) {
        std::swap(v[1], v[2]);
        std::swap(t.x[1], t.x[2]);
        std::swap(t.y[1], t.y[2]);
        std::swap(t.inverseDepth[1], t.inverseDepth[2]);
    }

    // A triangle that holds no pixel centre is dropped: in a mesh of millions of faces most of them fall
    // between the centres. Each centre of a small triangle's bounds is tried with the very test that
    // ResolveTile makes; a larger one is kept without trying, as it is rarely empty.
    constexpr int kPixelsTried = 64;
    const Setup setup = MakeSetup(t);
    if (setup.x0 > setup.x1 || setup.y0 > setup.y1)
        return;
    if ((setup.x1 - setup.x0 + 1) * (setup.y1 - setup.y0 + 1) <= kPixelsTried) {
        bool holds = false;
        for (int y = setup.y0; y <= setup.y1 && !holds; ++y)
            for (int x = setup.x0; x <= setup.x1 && !holds; ++x) {
                const float px = static_cast<float>(x) + 0.5f, py = static_cast<float>(y) + 0.5f;
                holds = setup.edges[0].Covers(setup.edges[0].Value(px, py)) &&
                        setup.edges[1].Covers(setup.edges[1].Value(px, py)) &&
                        setup.edges[2].Covers(setup.edges[2].Value(px, py));
            }
        if (!holds)
            return;
    }

    t.instance = instance;
    t.face = face;
    const Point3 unit[3] = {Point3(1.0f, 0.0f, 0.0f), Point3(0.0f, 1.0f, 0.0f), Point3(0.0f, 0.0f, 1.0f)};
    const auto same = [](const Point3& p, const Point3& q) { return p.x == q.x && p.y == q.y && p.z == q.z; };
    if (same(v[0]->corners, unit[0]) && same(v[1]->corners, unit[turned ? 2 : 1]) &&
        same(v[2]->corners, unit[turned ? 1 : 2])) {
        t.corners = turned ? kFaceCornersTurned : kFaceCorners;
    } else {
        t.corners = static_cast<int>(out.clippedCorners.size() / 3);
        for (int i = 0; i < 3; ++i)
            out.clippedCorners.push_back(v[i]->corners);
    }
    ReserveLarge(out.triangles, out.triangles.size() + 1);
    out.triangles.push_back(t);
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

std::pair<const Rasteriser::Share*, const Rasteriser::Triangle*> Rasteriser::Find(int index) const {
    const std::size_t at = static_cast<std::size_t>(
        std::upper_bound(shareFirst.begin(), shareFirst.end(), index) - shareFirst.begin() - 1);
    const Share& share = shares[at];
    return {&share, &share.triangles[static_cast<std::size_t>(index - shareFirst[at])]};
}

void Rasteriser::Bin() {
    bins.assign(static_cast<std::size_t>(NumTiles()), {});
    for (std::size_t s = 0; s < shares.size(); ++s) {
        int index = shareFirst[s];
        for (const Triangle& t : shares[s].triangles) {
            const Setup setup = MakeSetup(t);
            for (int ty = setup.y0 / kTileSize; ty <= setup.y1 / kTileSize; ++ty)
                for (int tx = setup.x0 / kTileSize; tx <= setup.x1 / kTileSize; ++tx)
                    bins[static_cast<std::size_t>(ty * tilesX + tx)].push_back(index);
            ++index;
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

void Rasteriser::ResolveTile(int tile, TileVisibility& visibility) const {
    const TileRect rect = Tile(tile);
    visibility.rect = rect;
    const std::size_t size = static_cast<std::size_t>(rect.Width() * rect.Height());
    visibility.triangle.assign(size, -1);
    visibility.inverseDepth.assign(size, 0.0f);
    if (bins.empty())
        return;
    for (int index : bins[static_cast<std::size_t>(tile)]) {
        const Triangle& t = *Find(index).second;
        const Setup setup = MakeSetup(t);
        const int x0 = std::max(setup.x0, rect.x0), x1 = std::min(setup.x1, rect.x1 - 1);
        const int y0 = std::max(setup.y0, rect.y0), y1 = std::min(setup.y1, rect.y1 - 1);
        const Edge& e0 = setup.edges[0];
        const Edge& e1 = setup.edges[1];
        const Edge& e2 = setup.edges[2];
        for (int y = y0; y <= y1; ++y) {
            const float py = static_cast<float>(y) + 0.5f;
            // The same arithmetic as Edge::Value, with the row's terms taken out of the loop.
            const float r0 = e0.dx * (py - e0.ay), r1 = e1.dx * (py - e1.ay), r2 = e2.dx * (py - e2.ay);
            const int row = (y - rect.y0) * rect.Width() - rect.x0;
            for (int x = x0; x <= x1; ++x) {
                const float px = static_cast<float>(x) + 0.5f;
                const float w0 = e0.sign * (r0 - e0.dy * (px - e0.ax));
                const float w1 = e1.sign * (r1 - e1.dy * (px - e1.ax));
                const float w2 = e2.sign * (r2 - e2.dy * (px - e2.ax));
                if (!e0.Covers(w0) || !e1.Covers(w1) || !e2.Covers(w2))
                    continue;
                const float sum = w0 + w1 + w2;
                const float inverseDepth =
                    (w0 * t.inverseDepth[0] + w1 * t.inverseDepth[1] + w2 * t.inverseDepth[2]) / sum;
                const std::size_t at = static_cast<std::size_t>(row + x);
                if (inverseDepth > visibility.inverseDepth[at]) {
                    visibility.inverseDepth[at] = inverseDepth;
                    visibility.triangle[at] = index;
                }
            }
        }
    }
}

SurfaceHit Rasteriser::Hit(int triangle, int x, int y) const {
    const auto [share, found] = Find(triangle);
    const Triangle& t = *found;
    const Setup setup = MakeSetup(t);
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
    SurfaceHit hit;
    hit.instance = t.instance;
    hit.face = t.face;
    hit.depth = 1.0f / inverseDepth;
    Point3 weights(perspective[0] / inverseDepth, perspective[1] / inverseDepth,
                   perspective[2] / inverseDepth);
    Point3 corners[3] = {Point3(1.0f, 0.0f, 0.0f), Point3(0.0f, 1.0f, 0.0f), Point3(0.0f, 0.0f, 1.0f)};
    if (t.corners == kFaceCornersTurned)
        std::swap(corners[1], corners[2]);
    else if (t.corners != kFaceCorners)
        std::copy_n(share->clippedCorners.begin() + 3 * static_cast<std::ptrdiff_t>(t.corners), 3, corners);
    hit.barycentric = Blend(weights, corners[0], corners[1], corners[2]);
    return hit;
}

} // namespace host
