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
    const auto share = [&](int part, std::vector<Triangle>& out) {
        const std::int64_t first = faces * part / parts, end = faces * (part + 1) / parts;
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
    if (parts == 1) {
        share(0, triangles);
        return;
    }
    // Each other share fills a list of its own, appended in order after the first.
    std::vector<std::vector<Triangle>> shares(static_cast<std::size_t>(parts - 1));
    std::vector<std::exception_ptr> failures(static_cast<std::size_t>(parts));
    const auto guarded = [&](int part, std::vector<Triangle>& out) {
        try {
            share(part, out);
        } catch (...) {
            failures[static_cast<std::size_t>(part)] = std::current_exception();
        }
    };
    std::vector<std::thread> helpers;
    for (int part = 1; part < parts; ++part)
        helpers.emplace_back(guarded, part, std::ref(shares[static_cast<std::size_t>(part - 1)]));
    guarded(0, triangles);
    for (std::thread& helper : helpers)
        helper.join();
    for (const std::exception_ptr& failure : failures)
        if (failure)
            std::rethrow_exception(failure);
    std::size_t total = triangles.size();
    for (const std::vector<Triangle>& more : shares)
        total += more.size();
    ReserveLarge(triangles, total);
    for (const std::vector<Triangle>& more : shares)
        triangles.insert(triangles.end(), more.begin(), more.end());
}

void Rasteriser::AddFaces(int instance, const Mesh& mesh, std::span<const Point3> cameraVerts, int first,
                          int end, std::vector<Triangle>& out) const {
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
                             const ClipVertex& c, std::vector<Triangle>& out) const {
    const ClipVertex* v[3] = {&a, &b, &c};
    float x[3], y[3], inverseDepth[3];
    for (int i = 0; i < 3; ++i) {
        const Point3& p = v[i]->camera;
        inverseDepth[i] = 1.0f / -p.z;
        x[i] = projection.xc + projection.xscale * p.x * inverseDepth[i];
        y[i] = projection.yc - projection.yscale * p.y * inverseDepth[i];
        if (!std::isfinite(x[i]) || !std::isfinite(y[i]) || !std::isfinite(inverseDepth[i]))
            return;
    }
    float area = (x[1] - x[0]) * (y[2] - y[0]) - (y[1] - y[0]) * (x[2] - x[0]);
    if (area == 0.0f || !std::isfinite(area))
        return;
    // Both sides render: a triangle facing away is turned round, so that inside is always positive.
    if (area < 0.0f) {
        std::swap(v[1], v[2]);
        std::swap(x[1], x[2]);
        std::swap(y[1], y[2]);
        std::swap(inverseDepth[1], inverseDepth[2]);
        area = -area;
    }

    // A triangle that holds no pixel centre is dropped before its edges are made: in a mesh of millions of
    // faces most of them fall between the centres.
    Triangle t;
    PixelSpan(std::min({x[0], x[1], x[2]}), std::max({x[0], x[1], x[2]}), projection.width, t.x0, t.x1);
    PixelSpan(std::min({y[0], y[1], y[2]}), std::max({y[0], y[1], y[2]}), projection.height, t.y0, t.y1);
    if (t.x0 > t.x1 || t.y0 > t.y1)
        return;
    t.instance = instance;
    t.face = face;
    t.area = area;
    for (int i = 0; i < 3; ++i) {
        t.inverseDepth[i] = inverseDepth[i];
        t.corners[i] = v[i]->corners;
        const int from = (i + 1) % 3, to = (i + 2) % 3;
        t.edges[i] = MakeEdge(x[from], y[from], x[to], y[to]);
    }
    ReserveLarge(out, out.size() + 1);
    out.push_back(t);
}

void Rasteriser::Bin() {
    bins.assign(static_cast<std::size_t>(NumTiles()), {});
    for (int i = 0; i < NumTriangles(); ++i) {
        const Triangle& t = triangles[static_cast<std::size_t>(i)];
        for (int ty = t.y0 / kTileSize; ty <= t.y1 / kTileSize; ++ty)
            for (int tx = t.x0 / kTileSize; tx <= t.x1 / kTileSize; ++tx)
                bins[static_cast<std::size_t>(ty * tilesX + tx)].push_back(i);
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
        const Triangle& t = triangles[static_cast<std::size_t>(index)];
        const int x0 = std::max(t.x0, rect.x0), x1 = std::min(t.x1, rect.x1 - 1);
        const int y0 = std::max(t.y0, rect.y0), y1 = std::min(t.y1, rect.y1 - 1);
        const Edge& e0 = t.edges[0];
        const Edge& e1 = t.edges[1];
        const Edge& e2 = t.edges[2];
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
    const Triangle& t = triangles[static_cast<std::size_t>(triangle)];
    const float px = static_cast<float>(x) + 0.5f, py = static_cast<float>(y) + 0.5f;
    float w[3];
    for (int i = 0; i < 3; ++i)
        w[i] = t.edges[i].Value(px, py);
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
    hit.barycentric = Blend(weights, t.corners[0], t.corners[1], t.corners[2]);
    return hit;
}

} // namespace host
