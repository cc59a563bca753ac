#pragma once

// The surfaces a contact sheet renders with one map: the scene's nodes that wear it, with the render
// meshes the renderers get from them, and what the distribution modes read on them.
#include "host/scene/scene.h"
#include "host/sheet/one_colour_note.h"

#include "hostsdk/matrix3.h"
#include "hostsdk/mesh.h"

#include <memory>
#include <vector>

namespace host {

struct SheetSurface {
    INode* node = nullptr;
    Object* object = nullptr; // the node's evaluated object
    Mesh* mesh = nullptr;     // its render mesh
    Matrix3 objectToWorld{true};
    std::unique_ptr<Mesh> owned; // the mesh, when the object handed it over
};

// The visible, renderable nodes of the scene that wear `map` (through their materials), in scene order, as
// the renderers collect them at time t.
std::vector<SheetSurface> SurfacesWearing(SceneRoot& scene, ReferenceTarget& map, TimeValue t);

// Where a coordinate generator's points come from.
enum class PointSource { Object, World, MapChannel };

// The points the face corners give: vertices in object or world space, or the vertices of a map channel as
// the shading contexts read them ((0, 0, 0) for a face the channel does not cover). Corners shared by
// faces count once.
std::vector<Point3> CornerPoints(const std::vector<SheetSurface>& surfaces, PointSource source,
                                 int channel = 1);

// The objects, object IDs, material IDs, elements, polygons and tile numbers of the surfaces. The input
// map is the map's setting, not the model's: `inputMap` is left false.
ModelKeys CountModelKeys(const std::vector<SheetSurface>& surfaces);

} // namespace host
