#pragma once

// The z-buffer rasteriser: triangles in camera space are clipped at the near plane, projected, sorted
// into screen tiles, and resolved tile by tile to the nearest triangle under every pixel centre. Tiles are
// independent, so render threads can resolve different tiles at once.
#include "hostsdk/mesh.h"

#include <span>
#include <utility>
#include <vector>

namespace host {

// A perspective camera's mapping from camera space (looking down -z, y up) to pixels (y down): a point at
// depth d = -z lands on x = xc + xscale * x / d, y = yc - yscale * y / d.
struct Projection {
    int width = 0;
    int height = 0;
    float xscale = 1.0f;
    float yscale = 1.0f;
    float xc = 0.0f;
    float yc = 0.0f;
    // Nothing nearer than this depth is drawn.
    float nearDepth = 0.001f;
};

// The visible surface at a pixel: the face of an instance's mesh, with barycentric weights of the face's
// three corners, and the depth along the view axis.
struct SurfaceHit {
    int instance = -1;
    int face = -1;
    Point3 barycentric;
    float depth = 0.0f;
};

// A rectangle of pixels, x0 <= x < x1 and y0 <= y < y1.
struct TileRect {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    int Width() const { return x1 - x0; }
    int Height() const { return y1 - y0; }
};

// One thread's working memory for resolving tiles.
struct TileVisibility {
    TileRect rect;
    // Per pixel of the tile, row by row: the nearest triangle, -1 where there is none.
    std::vector<int> triangle;
    std::vector<float> inverseDepth;
};

class Rasteriser {
public:
    static constexpr int kTileSize = 32;

    explicit Rasteriser(const Projection& projection);

    // A mesh to draw: the instance it belongs to, and its vertices in camera space.
    struct MeshToDraw {
        int instance = 0;
        const Mesh* mesh = nullptr;
        std::span<const Point3> cameraVerts;
    };

    // Adds every face of the mesh whose corners are valid vertices. Triangles are drawn in the order they
    // are added, and of two at the same depth the first one stays visible. A triangle that holds no pixel
    // centre is not kept: it could show nowhere. A large mesh is shared out
    // between up to `threads` threads, its triangles kept in the faces' order.
    void AddMesh(int instance, const Mesh& mesh, std::span<const Point3> cameraVerts, int threads = 1);
    // The same for the meshes one after another, their faces shared out together: a thousand small meshes
    // keep the threads as busy as one large one.
    void AddMeshes(std::span<const MeshToDraw> meshes, int threads = 1);
    // Sorts the triangles into tiles; call once, after the last AddMesh.
    void Bin();

    const Projection& GetProjection() const { return projection; }
    int NumTriangles() const { return numTriangles; }
    int NumTiles() const { return tilesX * tilesY; }
    TileRect Tile(int tile) const;

    // Finds the nearest triangle under every pixel centre of the tile. A pixel centre on an edge shared
    // by two triangles belongs to exactly one of them.
    void ResolveTile(int tile, TileVisibility& visibility) const;
    // What triangle `triangle` shows at the centre of pixel (x, y), perspective-correct.
    SurfaceHit Hit(int triangle, int x, int y) const;

private:
    // An edge function, evaluated from the edge's lower endpoint whichever way the triangle runs along it,
    // so that two triangles sharing the edge compute exactly opposite values.
    struct Edge {
        float ax, ay, dx, dy;
        float sign;
        bool topLeft;
        float Value(float px, float py) const { return sign * (dx * (py - ay) - dy * (px - ax)); }
        bool Covers(float value) const { return value > 0.0f || (value == 0.0f && topLeft); }
    };
    struct ClipVertex {
        Point3 camera;
        Point3 corners; // barycentric weights of the original face's corners
    };
    // A kept triangle, as small as it can be: its edges and pixel bounds are made again from its screen
    // corners wherever they are needed, by the same arithmetic, so a render keeps 48 bytes a triangle.
    struct Triangle {
        float x[3], y[3]; // screen position of each vertex, running so that inside is positive
        float inverseDepth[3];
        int instance;
        int face;
        // The face's corner weights at each vertex: kFaceCorners or kFaceCornersTurned for a whole face,
        // otherwise (a face cut at the near plane) an index into its share's clippedCorners.
        int corners;
    };
    static constexpr int kFaceCorners = -1;       // vertices 0, 1, 2 are the face's corners 0, 1, 2
    static constexpr int kFaceCornersTurned = -2; // vertices 0, 1, 2 are the face's corners 0, 2, 1
    // The triangles that one thread made from its share of the faces, in the faces' order.
    struct Share {
        std::vector<Triangle> triangles;
        std::vector<Point3> clippedCorners; // three a triangle
    };
    // A triangle's edges (edge i lies opposite vertex i) and inclusive pixel bounds.
    struct Setup {
        Edge edges[3];
        int x0, y0, x1, y1;
    };

    // Faces first to end - 1 of the mesh, their triangles appended to `out`.
    void AddFaces(int instance, const Mesh& mesh, std::span<const Point3> cameraVerts, int first, int end,
                  Share& out) const;
    void AddTriangle(int instance, int face, const ClipVertex& a, const ClipVertex& b, const ClipVertex& c,
                     Share& out) const;
    static Edge MakeEdge(float ax, float ay, float bx, float by);
    Setup MakeSetup(const Triangle& t) const;
    // The share holding triangle `index` (numbered through all shares) and the triangle itself.
    std::pair<const Share*, const Triangle*> Find(int index) const;

    Projection projection;
    int tilesX = 0;
    int tilesY = 0;
    std::vector<Share> shares;
    std::vector<int> shareFirst; // the number of each share's first triangle
    int numTriangles = 0;
    std::vector<std::vector<int>> bins;
};

} // namespace host
