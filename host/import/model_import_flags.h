#pragma once

// How the model library is asked to read a file: what the host's importer and the import benchmark share,
// so that the benchmark reads exactly as the host does.
#include <assimp/Importer.hpp>
#include <assimp/config.h>
#include <assimp/mesh.h>
#include <assimp/postprocess.h>

namespace host {

// Sets the importer's properties and returns the post-processing steps for ReadFile.
inline unsigned ConfigureModelImporter(Assimp::Importer& importer, bool triangulate) {
    // Points and lines come apart from faces, so that they can be left out.
    importer.SetPropertyInteger(AI_CONFIG_PP_SBP_REMOVE, aiPrimitiveType_POINT | aiPrimitiveType_LINE);
    unsigned flags = aiProcess_SortByPType | aiProcess_ValidateDataStructure;
    if (triangulate)
        flags |= aiProcess_Triangulate;
    return flags;
}

} // namespace host
