#include "host/scene/scene_file.h"

#include "host/base/atomic_file.h"
#include "host/base/text.h"
#include "host/scene/geometry_json.h"
#include "host/scene/primitive_objects.h"
#include "host/scene/scene_json.h"
#include "host/scene/scene_paths.h"

#include "hostsdk/anim_time.h"
#include "hostsdk/bitmap.h"
#include "hostsdk/core_interface.h"
#include "hostsdk/node.h"
#include "hostsdk/param_block.h"
#include "hostsdk/poly_object.h"
#include "hostsdk/std_mat.h"
#include "hostsdk/tex_gen.h"
#include "hostsdk/tri_object.h"

#include <cmath>
#include <map>

namespace host {

namespace {

class SceneWriter {
public:
    // Picture paths under `folder` are written relative to it.
    explicit SceneWriter(std::filesystem::path folder = {}) : folder(std::move(folder)) {}

    Json Write(SceneRoot& scene) {
        Json maps = Json::array();
        for (Texmap* map : scene.Maps())
            maps.push_back(Visit(map));
        Json nodes = Json::array();
        for (INode* node : scene.Nodes())
            nodes.push_back(Visit(node));
        Json document;
        document["format"] = kSceneFormat;
        document["version"] = kSceneVersion;
        document["objects"] = std::move(objects);
        document["maps"] = std::move(maps);
        // Scenes of maps alone are written as before nodes and cameras existed.
        if (!nodes.empty())
            document["nodes"] = std::move(nodes);
        if (scene.Camera())
            document["camera"] = WriteCamera(*scene.Camera());
        // Scenes saved with the slider at 0 are written as before scenes kept the slider.
        if (const TimeValue slider = GetCOREInterface()->GetTime(); slider != 0)
            document["sliderTime"] = slider;
        const Interval range = GetCOREInterface()->GetAnimRange();
        const int first = range.Start() / GetTicksPerFrame(), last = range.End() / GetTicksPerFrame();
        if (first != kDefaultFirstFrame || last != kDefaultLastFrame)
            document["animationRange"] = Json::array({first, last});
        return document;
    }

private:
    // Returns the object's ID, writing its record the first time it is met.
    int Visit(ReferenceTarget* object) {
        const auto known = ids.find(object);
        if (known != ids.end())
            return known->second;
        const int id = static_cast<int>(ids.size()) + 1;
        ids[object] = id;
        const std::size_t slot = objects.size();
        objects.push_back(Json());

        Json record;
        record["id"] = id;
        record["superClass"] = HexWord(object->SuperClassID());
        record["class"] = {HexWord(object->ClassID().PartA()), HexWord(object->ClassID().PartB())};
        if (auto* mtl = dynamic_cast<MtlBase*>(object))
            record["name"] = ToUtf8(mtl->GetName());
        else if (auto* node = dynamic_cast<INode*>(object))
            record["name"] = ToUtf8(node->GetName());
        WriteSettings(*object, record);

        Json blocks = Json::array();
        Json references = Json::array();
        for (int i = 0; i < object->NumRefs(); ++i) {
            ReferenceTarget* target = object->GetReference(i);
            if (target == nullptr)
                continue;
            if (auto* block = dynamic_cast<IParamBlock2*>(target))
                blocks.push_back(WriteBlock(i, *block));
            else
                references.push_back(Json{{"ref", i}, {"object", Visit(target)}});
        }
        if (!blocks.empty())
            record["paramBlocks"] = std::move(blocks);
        if (!references.empty())
            record["references"] = std::move(references);
        objects[slot] = std::move(record);
        return id;
    }

    Json WriteBlock(int ref, IParamBlock2& block) {
        Json params = Json::array();
        ParamBlockDesc2* desc = block.GetDesc();
        for (int i = 0; i < desc->Count(); ++i) {
            const ParamDef& def = desc->GetParamDefByIndex(i);
            if ((def.flags & P_OWNERS_REF) != 0)
                continue; // the owner stores these as its own references
            Json param;
            param["id"] = def.id;
            param["name"] = ToUtf8(def.internalName == nullptr ? L"" : def.internalName);
            param["type"] = ParamTypeName(def.type);
            const KeyTrack keys = block.GetKeys(def.id);
            if (!keys.empty()) {
                param["keys"] = WriteKeys(keys, is_float_type(def.type));
                params.push_back(std::move(param));
                continue;
            }
            switch (base_type(def.type)) {
            case TYPE_FLOAT:
                param["value"] = block.GetFloat(def.id);
                break;
            case TYPE_BITMAP: {
                PBBitmap* bitmap = block.GetBitmap(def.id);
                param["value"] =
                    bitmap == nullptr ? Json() : Json(PathForSavedScene(folder, ToUtf8(bitmap->bi.Name())));
                break;
            }
            case TYPE_TEXMAP:
            case TYPE_REFTARG: {
                ReferenceTarget* target = block.GetReferenceTarget(def.id);
                param["value"] = target == nullptr ? Json() : Json(Visit(target));
                break;
            }
            case TYPE_POINT3:
            case TYPE_RGBA: {
                Point3 p;
                Interval valid = FOREVER;
                block.GetValue(def.id, 0, p, valid);
                param["value"] = {p.x, p.y, p.z};
                break;
            }
            default:
                param["value"] = block.GetInt(def.id);
                break;
            }
            params.push_back(std::move(param));
        }
        return Json{{"ref", ref}, {"block", block.ID()}, {"params", std::move(params)}};
    }

    // An animated parameter's keys as [time in ticks, value] pairs; integer parameters' keys as integers.
    static Json WriteKeys(const KeyTrack& keys, bool floating) {
        Json written = Json::array();
        for (const TrackKey& key : keys)
            written.push_back(floating ? Json{key.time, key.value}
                                       : Json{key.time, static_cast<int>(std::lround(key.value))});
        return written;
    }

    void WriteSettings(ReferenceTarget& object, Json& record) const {
        if (auto* node = dynamic_cast<INode*>(&object)) {
            Json settings{{"gbufferId", node->GetGBufID()}};
            WritePlacement(node->GetNodeTM(0), settings);
            if (node->IsHidden())
                settings["hidden"] = true;
            record["settings"] = std::move(settings);
        } else if (auto* primitive = dynamic_cast<IPrimitive*>(&object)) {
            record["settings"] = WritePrimitive(*primitive);
        } else if (auto* tri = dynamic_cast<TriObject*>(&object)) {
            record["settings"] = {{"mesh", WriteMesh(tri->GetMesh())}};
        } else if (auto* poly = dynamic_cast<PolyObject*>(&object)) {
            record["settings"] = {{"polyMesh", WritePolyMesh(poly->GetMesh())}};
        } else if (auto* material = dynamic_cast<StdMat*>(&object)) {
            const Color diffuse = material->GetDiffuse();
            record["settings"] = {{"diffuse", {diffuse.r, diffuse.g, diffuse.b}},
                                  {"diffuseMapOn", material->MapEnabled(ID_DI) != 0}};
        } else if (auto* coords = dynamic_cast<StdXYZGen*>(&object)) {
            Json axes = Json::array();
            for (int axis = 0; axis < 3; ++axis)
                axes.push_back({{"offset", coords->GetOffs(axis, 0)},
                                {"scale", coords->GetScl(axis, 0)},
                                {"angle", coords->GetAng(axis, 0)}});
            record["settings"] = {{"coordSystem", coords->GetCoordSystem()},
                                  {"mapChannel", coords->GetMapChannel()},
                                  {"axes", std::move(axes)}};
        } else if (auto* output = dynamic_cast<TextureOutput*>(&object)) {
            record["settings"] = {{"outputLevel", output->GetOutputLevel(0)},
                                  {"invert", output->GetInvert() != 0}};
        } else if (auto* bitmap = dynamic_cast<BitmapTex*>(&object)) {
            record["settings"] = {{"mapName", PathForSavedScene(folder, ToUtf8(bitmap->GetMapName()))}};
        }
    }

    std::filesystem::path folder;
    std::map<ReferenceTarget*, int> ids;
    Json objects = Json::array();
};

} // namespace

std::string SceneToJson(SceneRoot& scene) {
    return SceneWriter().Write(scene).dump(2) + "\n";
}

void SaveScene(SceneRoot& scene, const std::filesystem::path& file) {
    WriteFileAtomically(
        file, SceneWriter(file.parent_path().empty() ? "." : file.parent_path()).Write(scene).dump(2) + "\n");
}

} // namespace host
