// Scene files: the settings of nodes (placement, G-buffer ID, visibility), primitives, and triangle and
// polygon meshes, given in the file or read from a model file.
#include "host/base/text.h"
#include "host/scene/scene_reader.h"

#include "host/import/model_meshes.h"
#include "host/scene/geometry_json.h"
#include "host/scene/primitive_objects.h"
#include "host/scene/scene_paths.h"

#include "hostsdk/node.h"
#include "hostsdk/poly_object.h"
#include "hostsdk/tri_object.h"

namespace host {

// A model file named by a scene file, relative to the scene file's folder, as one mesh: every part of
// the model placed as in the file. `fill` takes the merged part; a triangle mesh asks for triangles.
template <class Fill>
void SceneReader::ReadMeshFile(const Json& name, const std::string& where, bool triangles, Fill fill) {
    if (!name.is_string() || name.get<std::string>().empty())
        Fail(where, "expected the name of a model file");
    const std::string file = name.get<std::string>();
    const std::string resolved = SceneRelativePath(origin, file);
    try {
        ModelImportOptions options;
        options.triangulate = triangles;
        options.timeLimitSeconds = models.timeLimitSeconds;
        options.memoryLimitBytes = models.memoryLimitBytes;
        fill(MergeParts(ImportModel(resolved, options)));
    } catch (const std::runtime_error& e) {
        Fail(where, e.what());
    }
}

bool SceneReader::ApplyGeometrySettings(ReferenceTarget& object, const Json& settings,
                                        const std::string& where) {
    if (auto* node = dynamic_cast<INode*>(&object)) {
        OnlyMembers(settings, where, {"gbufferId", "position", "transform", "hidden"});
        if (settings.contains("gbufferId")) {
            const Json& id = settings["gbufferId"];
            if (!id.is_number_integer() || id.get<long long>() < 0 || id.get<long long>() > 0xffffffffLL)
                Fail(where + "/gbufferId", "expected a whole number from 0");
            node->SetGBufID(static_cast<ULONG>(id.get<long long>()));
        }
        node->SetNodeTM(0, ReadPlacement(settings, origin, where));
        if (settings.contains("hidden"))
            node->Hide(ReadBool(settings["hidden"], where + "/hidden") ? TRUE : FALSE);
    } else if (auto* primitive = dynamic_cast<IPrimitive*>(&object)) {
        ReadPrimitive(*primitive, settings, origin, where);
    } else if (auto* tri = dynamic_cast<TriObject*>(&object)) {
        OnlyMembers(settings, where, {"mesh", "meshFile"});
        if (settings.contains("mesh") && settings.contains("meshFile"))
            Fail(where + "/meshFile", "give either \"mesh\" or \"meshFile\", not both");
        if (settings.contains("mesh"))
            ReadMesh(settings["mesh"], origin, where + "/mesh", tri->GetMesh());
        if (settings.contains("meshFile"))
            ReadMeshFile(settings["meshFile"], where + "/meshFile", true,
                         [tri](ImportedPart&& part) { PartToMesh(std::move(part), true, tri->GetMesh()); });
    } else if (auto* poly = dynamic_cast<PolyObject*>(&object)) {
        OnlyMembers(settings, where, {"polyMesh", "meshFile"});
        if (settings.contains("polyMesh") && settings.contains("meshFile"))
            Fail(where + "/meshFile", "give either \"polyMesh\" or \"meshFile\", not both");
        if (settings.contains("polyMesh"))
            ReadPolyMesh(settings["polyMesh"], origin, where + "/polyMesh", poly->GetMesh());
        if (settings.contains("meshFile"))
            ReadMeshFile(settings["meshFile"], where + "/meshFile", false, [poly](ImportedPart&& part) {
                PartToPolyMesh(std::move(part), true, poly->GetMesh());
            });
    } else {
        return false;
    }
    return true;
}

} // namespace host
