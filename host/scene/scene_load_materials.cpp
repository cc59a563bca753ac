// Scene files: the settings of standard materials and of the objects maps hold (coordinate generators,
// texture outputs, bitmap textures); other objects take none.
#include "host/scene/scene_reader.h"

#include "host/base/text.h"
#include "host/scene/scene_paths.h"

#include "hostsdk/bitmap.h"
#include "hostsdk/std_mat.h"
#include "hostsdk/tex_gen.h"

namespace host {

void SceneReader::ApplyMaterialSettings(ReferenceTarget& object, const Json& settings,
                                        const std::string& where) {
    if (auto* material = dynamic_cast<StdMat*>(&object)) {
        OnlyMembers(settings, where, {"diffuse", "diffuseMapOn"});
        if (settings.contains("diffuse")) {
            const Json& c = settings["diffuse"];
            if (!c.is_array() || c.size() != 3)
                Fail(where + "/diffuse", "expected three numbers");
            material->SetDiffuse(Color(ReadFloat(c[0], where + "/diffuse/0"),
                                       ReadFloat(c[1], where + "/diffuse/1"),
                                       ReadFloat(c[2], where + "/diffuse/2")),
                                 0);
        }
        if (settings.contains("diffuseMapOn"))
            material->EnableMap(ID_DI,
                                ReadBool(settings["diffuseMapOn"], where + "/diffuseMapOn") ? TRUE : FALSE);
    } else if (auto* coords = dynamic_cast<StdXYZGen*>(&object)) {
        OnlyMembers(settings, where, {"coordSystem", "mapChannel", "axes"});
        if (settings.contains("coordSystem"))
            coords->SetCoordSystem(ReadInt(settings["coordSystem"], where + "/coordSystem"));
        if (settings.contains("mapChannel"))
            coords->SetMapChannel(ReadInt(settings["mapChannel"], where + "/mapChannel"));
        if (settings.contains("axes")) {
            const Json& axes = settings["axes"];
            if (!axes.is_array() || axes.size() != 3)
                Fail(where + "/axes", "expected three axes");
            for (int axis = 0; axis < 3; ++axis) {
                const std::string at = where + "/axes/" + std::to_string(axis);
                const Json& values = axes[static_cast<std::size_t>(axis)];
                OnlyMembers(values, at, {"offset", "scale", "angle"});
                coords->SetOffs(axis, ReadFloat(Member(values, at, "offset"), at + "/offset"), 0);
                coords->SetScl(axis, ReadFloat(Member(values, at, "scale"), at + "/scale"), 0);
                coords->SetAng(axis, ReadFloat(Member(values, at, "angle"), at + "/angle"), 0);
            }
        }
    } else if (auto* output = dynamic_cast<TextureOutput*>(&object)) {
        OnlyMembers(settings, where, {"outputLevel", "invert"});
        if (settings.contains("outputLevel"))
            output->SetOutputLevel(0, ReadFloat(settings["outputLevel"], where + "/outputLevel"));
        if (settings.contains("invert")) {
            if (!settings["invert"].is_boolean())
                Fail(where + "/invert", "expected true or false");
            output->SetInvert(settings["invert"].get<bool>() ? TRUE : FALSE);
        }
    } else if (auto* bitmap = dynamic_cast<BitmapTex*>(&object)) {
        OnlyMembers(settings, where, {"mapName"});
        if (settings.contains("mapName")) {
            if (!settings["mapName"].is_string())
                Fail(where + "/mapName", "expected a file name");
            bitmap->SetMapName(
                FromUtf8(SceneRelativePath(origin, settings["mapName"].get<std::string>())).c_str(), false);
        }
    } else {
        OnlyMembers(settings, where, {});
    }
}

} // namespace host
