#pragma once

// What shading builds once per render and then only looks up: the keyed colour draws, the element lists
// and the numbered meshes. A render start replaces the set whole; a render that was not told of the start
// (a material-editor preview) keeps shading with the set it pinned, which stays alive until it lets go.
#include "map/instance_index.h"
#include "plugin/host_sdk.h"
#include "shade/concurrent_table.h"

#include <cstdint>
#include <memory>

struct ShadingTables {
    // The tables themselves take concurrent lookups and serialised inserts, so a snapshot that is const as
    // a whole still lets render threads add to them.
    std::unique_ptr<ConcurrentTable<std::int32_t, std::int32_t>> keyedIndices =
        std::make_unique<ConcurrentTable<std::int32_t, std::int32_t>>();
    std::unique_ptr<ConcurrentTable<Object*, std::unique_ptr<FaceElementList>>> elementLists =
        std::make_unique<ConcurrentTable<Object*, std::unique_ptr<FaceElementList>>>();
    std::unique_ptr<ConcurrentTable<Object*, std::unique_ptr<Mesh>>> polygonMeshes =
        std::make_unique<ConcurrentTable<Object*, std::unique_ptr<Mesh>>>();
    // Where "Per Face" finds an object's render mesh; used under the mesh lock.
    std::unique_ptr<InstanceIndex> instances = std::make_unique<InstanceIndex>();
};
