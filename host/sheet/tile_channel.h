#pragma once

// Fitted tile numbers written into map channel 99 of the objects a contact sheet renders, for as long as
// the "BerconTile" cells need them: the modes read the tile numbers a tile map leaves there, which a plain
// model lacks.
#include "host/sheet/sheet_surfaces.h"
#include "host/sheet/tile_grid.h"

#include "hostsdk/mn_mesh.h"

#include <vector>

class PolyObject;
class TriObject;

namespace host {

// The centre of each face (the mean of its corners); a corner outside the vertex list is left out.
std::vector<Point3> FaceCentres(const Mesh& mesh);
std::vector<Point3> FaceCentres(const MNMesh& mesh);

class FittedTileChannel {
public:
    // Numbers the faces of the surfaces' objects (triangles of a triangle mesh, polygons of a polygon mesh)
    // on one grid fitted to the box of all their object points, and writes the numbers into map channel 99
    // at every corner of each face. An object worn by several surfaces is written once; objects that are
    // neither kind of mesh are left alone.
    explicit FittedTileChannel(const std::vector<SheetSurface>& surfaces);
    // Puts every written object's channel 99 and count of map channels back as they were.
    ~FittedTileChannel();
    FittedTileChannel(const FittedTileChannel&) = delete;
    FittedTileChannel& operator=(const FittedTileChannel&) = delete;

    // How many different tile numbers were written.
    int TileCount() const { return tileCount; }

private:
    struct TriangleChannel {
        TriObject* object;
        int mapCount;
        MeshMap previous;
    };
    struct PolygonChannel {
        PolyObject* object;
        int mapCount;
        MNMap previous;
    };

    std::vector<TriangleChannel> triangles;
    std::vector<PolygonChannel> polygons;
    int tileCount = 0;
};

} // namespace host
