// The numbering for "Per Face" shading of a big mesh peaks near what its results need: the edge list, the
// face adjacency and the numbered copy, each made once at its size. This executable's own global allocation
// functions count the allocations; on Linux the SDK's library calls them as well.
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
    live -= block != nullptr ? malloc_usable_size(block) : 0;
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
    operator delete(block);
}

TEST(MeshNumberingMemory, ShadingCopyHoldsAtMost48BytesAFaceBesideTheMesh) {
    // A flat sheet of 200 x 200 quads sharing their corners, each two triangles with a hidden diagonal.
    constexpr int n = 200;
    Mesh sheet;
    sheet.setNumVerts((n + 1) * (n + 1));
    for (int v = 0; v < sheet.getNumVerts(); ++v)
        sheet.setVert(v, static_cast<float>(v % (n + 1)), static_cast<float>(v / (n + 1)), 0.0f);
    sheet.setNumFaces(2 * n * n);
    for (int q = 0; q < n * n; ++q) {
        const auto corner = static_cast<DWORD>(q / n * (n + 1) + q % n);
        const DWORD above = corner + n + 1;
        sheet.faces[2 * static_cast<std::size_t>(q)].setVerts(corner, corner + 1, above + 1);
        sheet.faces[2 * static_cast<std::size_t>(q) + 1].setVerts(above + 1, above, corner);
        for (int half : {0, 1})
            sheet.faces[2 * static_cast<std::size_t>(q) + half].setEdgeVis(2, EDGE_INVIS);
    }
    const std::size_t before = live;
    peak = before;
    const std::unique_ptr<Mesh> numbered = NumberPolygonsForShading(sheet);
    // 1.5 edges a face of 16 bytes, then 12 bytes of adjacency, then a 20-byte face copy: 48 bytes hold
    // any two of them at once, not per-vertex lists or room grown by doubling beside them.
    EXPECT_LE(static_cast<double>(peak - before) / sheet.getNumFaces(), 48.0);
    EXPECT_NE(numbered->getFaceMtlIndex(0), numbered->getFaceMtlIndex(2)) << "quads are numbered apart";
    EXPECT_EQ(numbered->getFaceMtlIndex(0), numbered->getFaceMtlIndex(1)) << "a quad is one polygon";
}
