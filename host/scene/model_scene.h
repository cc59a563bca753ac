#pragma once

// Imported models as scenes: what the render and sheet commands build from a model file.
#include "host/import/imported_model.h"
#include "host/import/model_meshes.h"
#include "host/scene/scene.h"
#include "host/scene/scene_json.h"

class Mtl;

namespace host {

// The object IDs of a model scene's document.
inline constexpr int kModelMapId = 1;
inline constexpr int kModelMaterialId = 2;

// The document of a model's scene without its parts: a Chromasift map (object kModelMapId), the standard
// material wearing it (object kModelMaterialId) and no camera, so that the renderer frames the model. Map
// settings are written into it as into any scene document; AddModelNodes adds the parts once it is read.
Json ModelSceneDocument();

// Adds every part of the model to the scene as a node of its own, in order: named as the part, placed by
// its transform, with G-buffer object IDs 1, 2, ..., showing the part as a polygon object (when it has
// polygons) or a triangle object, and wearing `material`. Each part's data is freed as soon as its mesh
// holds it. Throws std::runtime_error for a part no mesh can hold (see PartToPolyMesh).
void AddModelNodes(ImportedModel&& model, Mtl* material, SceneRoot& scene);

} // namespace host
