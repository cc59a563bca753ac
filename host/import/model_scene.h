#pragma once

// Imported models as scene objects: the documents the render and sheet commands build from a model file,
// and the meshes that scene files name by file.
#include "host/import/imported_model.h"
#include "host/scene_json.h"

namespace host {

// A part's geometry as a scene file spells a mesh: material indices as face material IDs, texture
// coordinates as map channel 1. `placed` applies the part's transform to its vertices. A triangle mesh
// ("mesh") needs a part of triangles only; a polygon mesh ("polyMesh") takes any part.
Json PartGeometryJson(const ImportedPart& part, bool placed);

// All parts of a model as one part, each placed by its transform.
ImportedPart MergeParts(const ImportedModel& model);

// A scene of the model: every part a node of its own (G-buffer object IDs 1, 2, ...) wearing one standard
// material with a Chromasift map, and no camera, so that the renderer frames the model.
Json ModelSceneDocument(const ImportedModel& model);

} // namespace host
