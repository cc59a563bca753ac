#pragma once

// Imported parts as the SDK's meshes: material indices become face material IDs and texture coordinates
// map channel 1, as the host's own objects use them.
#include "host/import/imported_model.h"

#include "hostsdk/mesh.h"
#include "hostsdk/mn_mesh.h"

namespace host {

// The map channel that texture coordinates fill.
inline constexpr int kModelTextureChannel = 1;

// Fills `mesh` with the part as polygons; `placed` applies the part's transform to its vertices. The
// part's texture coordinates move into the mesh. Throws std::runtime_error for a position,
// texture coordinate or transform that is not a finite number, or a material index above 65535, which no
// mesh can hold.
void PartToPolyMesh(ImportedPart&& part, bool placed, MNMesh& mesh);

// The same as a triangle mesh, each face with all three edges visible; every face of the part must have
// three corners (std::runtime_error otherwise). The part's texture coordinates move into the mesh.
void PartToMesh(ImportedPart&& part, bool placed, Mesh& mesh);

// All parts of a model as one part, each placed by its transform.
ImportedPart MergeParts(const ImportedModel& model);

} // namespace host
