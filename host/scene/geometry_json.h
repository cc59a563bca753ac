#pragma once

// How scene files spell geometry, placements and cameras. Readers throw SceneError with the file's name
// (`origin`) and the place in the document (`where`, a JSON pointer).
#include "host/scene/primitive_objects.h"
#include "host/scene/scene.h"
#include "host/scene/scene_json.h"

#include "hostsdk/mesh.h"
#include "hostsdk/mn_mesh.h"

#include <string>

namespace host {

// {"verts": [[x, y, z], ...], "faces": [...], "maps": [{"channel": c, "verts": [[u, v, w], ...],
// "faces": [[a, b, c], ...]}, ...]}. A face is [a, b, c] or {"v": [a, b, c], "edges": [true, true, false],
// "matId": n, "smGroup": n, "hidden": false}; left-out edges are visible, other members 0 or false.
void ReadMesh(const Json& value, const std::string& origin, const std::string& where, Mesh& mesh);
Json WriteMesh(Mesh& mesh);

// {"verts": [[x, y, z], ...], "faces": [...]}, a face being [a, b, c, ...] or {"v": [...], "matId": n,
// "smGroup": n}; every face has at least three corners.
void ReadPolyMesh(const Json& value, const std::string& origin, const std::string& where, MNMesh& mesh);
Json WritePolyMesh(MNMesh& mesh);

// A node's placement within its settings: "position": [x, y, z], or "transform": the four rows of the
// transform (three axes and the position); neither is the identity.
Matrix3 ReadPlacement(const Json& settings, const std::string& origin, const std::string& where);
void WritePlacement(const Matrix3& transform, Json& settings);

// {"position": [x, y, z], "target": [x, y, z], "up": [x, y, z], "fov": degrees}; up and fov may be left
// out.
SceneCamera ReadCamera(const Json& value, const std::string& origin, const std::string& where);
Json WriteCamera(const SceneCamera& camera);

// A primitive's settings: its parameters by name; parameters left out keep their values.
void ReadPrimitive(IPrimitive& primitive, const Json& settings, const std::string& origin,
                   const std::string& where);
Json WritePrimitive(const IPrimitive& primitive);

} // namespace host
