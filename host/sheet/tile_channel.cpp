#include "host/sheet/tile_channel.h"

#include "hostsdk/poly_object.h"
#include "hostsdk/tri_object.h"

#include <set>

namespace host {

namespace {

constexpr int kTileChannel = 99;

// One map vertex per tile number; faces point at the vertex of their tile.
std::vector<UVVert> TileVertices(int side) {
    std::vector<UVVert> vertices;
    for (int tile = 0; tile < side * side; ++tile)
        vertices.emplace_back(TileChannelValue(tile), 0.0f, 0.0f);
    return vertices;
}

void WriteTiles(Mesh& mesh, const std::vector<std::int32_t>& tiles, const std::vector<UVVert>& vertices) {
    mesh.setMapSupport(kTileChannel, TRUE);
    MeshMap& map = mesh.Map(kTileChannel);
    map.tv = vertices;
    map.tf.resize(tiles.size());
    for (std::size_t f = 0; f < tiles.size(); ++f) {
        const auto t = static_cast<DWORD>(tiles[f]);
        map.tf[f] = TVFace(t, t, t);
    }
}

void WriteTiles(MNMesh& mesh, const std::vector<std::int32_t>& tiles, const std::vector<UVVert>& vertices) {
    if (mesh.MNum() <= kTileChannel)
        mesh.SetMapNum(kTileChannel + 1);
    MNMap& map = *mesh.M(kTileChannel);
    map.v = vertices;
    map.f.assign(tiles.size(), MNMapFace());
    for (std::size_t f = 0; f < tiles.size(); ++f) {
        const int deg = mesh.f[f].deg;
        map.f[f].deg = deg;
        map.f[f].tv.assign(static_cast<std::size_t>(deg < 0 ? 0 : deg), tiles[f]);
    }
}

// The mean of the corners added to it.
class CornerMean {
public:
    void Add(const Point3& p) {
        for (int axis = 0; axis < 3; ++axis)
            sum[axis] += p[axis];
        ++count;
    }
    Point3 Mean() const {
        if (count == 0)
            return sum;
        const auto n = static_cast<float>(count);
        return Point3(sum.x / n, sum.y / n, sum.z / n);
    }

private:
    Point3 sum;
    int count = 0;
};

} // namespace

std::vector<Point3> FaceCentres(const Mesh& mesh) {
    std::vector<Point3> centres;
    centres.reserve(mesh.faces.size());
    for (const Face& face : mesh.faces) {
        CornerMean centre;
        for (DWORD v : face.v)
            if (v < mesh.verts.size())
                centre.Add(mesh.verts[v]);
        centres.push_back(centre.Mean());
    }
    return centres;
}

std::vector<Point3> FaceCentres(const MNMesh& mesh) {
    std::vector<Point3> centres;
    centres.reserve(static_cast<std::size_t>(mesh.numf));
    for (int f = 0; f < mesh.numf; ++f) {
        const MNFace& face = mesh.f[f];
        CornerMean centre;
        for (int c = 0; c < face.deg; ++c) {
            const int v = face.Vert(c);
            if (v >= 0 && v < mesh.numv)
                centre.Add(mesh.v[v].p);
        }
        centres.push_back(centre.Mean());
    }
    return centres;
}

FittedTileChannel::FittedTileChannel(const std::vector<SheetSurface>& surfaces) {
    CoordinateBox box;
    for (const Point3& p : CornerPoints(surfaces, PointSource::Object))
        box.Add(p);
    const TileGrid grid = FitTileGrid(box);
    const std::vector<UVVert> vertices = TileVertices(grid.side);
    std::set<Object*> written;
    std::set<std::int32_t> numbers;
    const auto number = [&](const std::vector<Point3>& centres) {
        std::vector<std::int32_t> tiles = TileNumbers(grid, centres);
        numbers.insert(tiles.begin(), tiles.end());
        return tiles;
    };
    for (const SheetSurface& surface : surfaces) {
        if (!written.insert(surface.object).second)
            continue;
        if (auto* tri = dynamic_cast<TriObject*>(surface.object)) {
            Mesh& mesh = tri->GetMesh();
            const int mapCount = mesh.getNumMaps();
            triangles.push_back(
                {tri, mapCount, mapCount > kTileChannel ? mesh.Map(kTileChannel) : MeshMap()});
            WriteTiles(mesh, number(FaceCentres(mesh)), vertices);
        } else if (auto* poly = dynamic_cast<PolyObject*>(surface.object)) {
            MNMesh& mesh = poly->GetMesh();
            const int mapCount = mesh.MNum();
            polygons.push_back({poly, mapCount, mapCount > kTileChannel ? *mesh.M(kTileChannel) : MNMap()});
            WriteTiles(mesh, number(FaceCentres(mesh)), vertices);
        }
    }
    tileCount = static_cast<int>(numbers.size());
}

FittedTileChannel::~FittedTileChannel() {
    for (TriangleChannel& written : triangles) {
        Mesh& mesh = written.object->GetMesh();
        mesh.Map(kTileChannel) = std::move(written.previous);
        mesh.setNumMaps(written.mapCount, TRUE);
    }
    for (PolygonChannel& written : polygons) {
        MNMesh& mesh = written.object->GetMesh();
        *mesh.M(kTileChannel) = std::move(written.previous);
        mesh.SetMapNum(written.mapCount);
    }
}

} // namespace host
