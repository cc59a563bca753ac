#pragma once

// The z-buffer rasteriser: triangles in camera space are clipped at the near plane, projected and drawn as
// they come into a visibility buffer, which keeps for every pixel only the nearest triangle's depth and
// number. What that triangle shows at the pixel is made again from its face when the pixel is shaded, so
// the rasteriser's memory follows the picture, not the number of triangles that cover it. Pixels are
// shaded tile by tile; tiles are independent, so render threads can shade different tiles at once.
#include "hostsdk/mesh.h"

#include <cstdint>
#include <span>
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
// three corners, and the depth along the view axis. The instance is -1 where no surface was hit.
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

class Rasteriser {
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
    // A projected triangle, made the same way whenever its face is drawn or a pixel of it is shaded.
    struct Triangle {
        float x[3], y[3]; // screen position of each vertex, running so that inside is positive
        float inverseDepth[3];
        Point3 corners[3]; // the face's corner weights at each vertex
    };
    // A triangle's edges (edge i lies opposite vertex i) and inclusive pixel bounds.
    struct Setup {
        Edge edges[3];
        int x0, y0, x1, y1;
    };
    // The triangles of a face cut at the near plane: up to two; a slot is empty where its triangle is
    // degenerate or not finite on screen.
    struct FaceTriangles {
        Triangle triangles[2];
        bool made[2] = {false, false};
    };

public:
    static constexpr int kTileSize = 32;

    explicit Rasteriser(const Projection& projection);

    // A mesh to draw: the instance it belongs to, and its vertices in camera space.
    struct MeshToDraw {
        int instance = 0;
        const Mesh* mesh = nullptr;
        std::span<const Point3> cameraVerts;
    };

    // Draws every face of the mesh whose corners are valid vertices. Of two triangles at the same depth the
    // one drawn first stays visible, meshes and faces in the order they are given. A large mesh is shared
    // out between up to `threads` threads, with the same result. The mesh and its vertices must stay
    // until the last Hit: hits are made from them.
    void AddMesh(int instance, const Mesh& mesh, std::span<const Point3> cameraVerts, int threads = 1);
    // The same for the meshes one after another, their faces shared out together: a thousand small meshes
    // keep the threads as busy as one large one.
    void AddMeshes(std::span<const MeshToDraw> meshes, int threads = 1);

    const Projection& GetProjection() const { return projection; }
    int NumTiles() const { return tilesX * tilesY; }
    TileRect Tile(int tile) const;

    // The triangle that Hit made last, for the next pixel to reuse: neighbouring pixels mostly show the
    // same one. One for each render thread.
    class HitMemo {
        friend class Rasteriser;
        std::int64_t order = -1; // the triangle's number; -1 for none
        int instance = -1;
        int face = -1;
        Triangle triangle{};
        Setup setup{};
    };

    // What the nearest triangle shows at the centre of pixel (x, y), perspective-correct. A pixel centre on
    // an edge shared by two triangles belongs to exactly one of them.
    SurfaceHit Hit(int x, int y) const {
        HitMemo memo;
        return Hit(x, y, memo);
    }
    SurfaceHit Hit(int x, int y, HitMemo& memo) const;

private:
    FaceTriangles MakeTriangles(const MeshToDraw& draw, int face) const;
    bool MakeTriangle(const ClipVertex& a, const ClipVertex& b, const ClipVertex& c, Triangle& t) const;
    static Edge MakeEdge(float ax, float ay, float bx, float by);
    Setup MakeSetup(const Triangle& t) const;
    // Draws faces first to end - 1 of the mesh, the first numbered `number`; `shared` when other threads
    // draw at the same time.
    void DrawFaces(const MeshToDraw& draw, int first, int end, std::int64_t number, bool shared);
    void Draw(const Triangle& t, std::uint32_t order, bool shared);

    Projection projection;
    int tilesX = 0;
    int tilesY = 0;
    // The meshes drawn, and the number of each one's first face counted through all of them.
    std::vector<MeshToDraw> drawn;
    std::vector<std::int64_t> drawnFirst;
    std::int64_t numFaces = 0;
    // Per pixel, row by row: the nearest inverse depth's bits in the high half and the complement of its
    // triangle's number (twice the face's number, plus one for the second triangle of a cut face) in the
    // low half. Positive floats order as their bits do, so the greatest value is the nearest triangle and,
    // of equally near ones, the first drawn, whichever thread draws first; 0 where nothing was drawn.
    std::vector<std::uint64_t> visible;
};

} // namespace host
