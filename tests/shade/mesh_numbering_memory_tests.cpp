// The numbering for "Per Face" shading of a big mesh peaks near what its results need: the edge list, the
// face adjacency and the numbered copy, each made once at its size. The allocations are counted by this
// executable's own global allocation functions, which on Linux the SDK's library calls as well.
#include "shade/mesh_numbering.h"

#include <gtest/gtest.h>

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> live{0};
std::atomic<std::size_t> peak{0};

} // namespace

void* operator new(std::size_t bytes) {
    void* block = std::malloc(bytes == 0 ? 1 : bytes);
    if (block == nullptr)
        throw std::bad_alloc();
    const std::size_t now = live += malloc_usable_size(block);
    for (std::size_t high = peak; now > high && !peak.compare_exchange_weak(high, now);) {
    }
    return block;
}

void operator delete(void* block) noexcept {
    if (block != nullptr)
        live -= malloc_usable_size(block);
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
    operator delete(block);
}

namespace {

// A flat sheet of n x n quads, each two triangles with a hidden diagonal, sharing its corners.
Mesh Sheet(int n) {
    Mesh mesh;
    mesh.setNumVerts((n + 1) * (n + 1));
    for (int y = 0; y <= n; ++y)
        for (int x = 0; x <= n; ++x)
            mesh.setVert(y * (n + 1) + x, static_cast<float>(x), static_cast<float>(y), 0.0f);
    mesh.setNumFaces(2 * n * n);
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const auto corner = static_cast<DWORD>(y * (n + 1) + x);
            const auto above = corner + static_cast<DWORD>(n + 1);
            Face* quad = &mesh.faces[static_cast<std::size_t>(2 * (y * n + x))];
            quad[0].setVerts(corner, corner + 1, above + 1);
            quad[0].setEdgeVisFlags(EDGE_VIS, EDGE_VIS, EDGE_INVIS);
            quad[1].setVerts(above + 1, above, corner);
            quad[1].setEdgeVisFlags(EDGE_VIS, EDGE_VIS, EDGE_INVIS);
        }
    return mesh;
}

TEST(MeshNumberingMemory, ShadingCopyHoldsAtMost48BytesAFaceBesideTheMesh) {
    Mesh sheet = Sheet(200);
    const std::size_t before = live;
    peak = before;
    const std::unique_ptr<Mesh> numbered = NumberPolygonsForShading(sheet);
    // 1.5 edges a face of 16 bytes, then 12 bytes of adjacency, then a 20-byte face copy: 48 bytes hold
    // any two of them at once, not per-vertex lists or room grown by doubling beside them.
    const double perFace = static_cast<double>(peak - before) / sheet.getNumFaces();
    EXPECT_LE(perFace, 48.0);
    EXPECT_NE(numbered->getFaceMtlIndex(0), numbered->getFaceMtlIndex(2)) << "quads are numbered apart";
    EXPECT_EQ(numbered->getFaceMtlIndex(0), numbered->getFaceMtlIndex(1)) << "a quad is one polygon";
}

} // namespace
