// Scene files: an object's parameter blocks, each parameter by ID with its declared type, and a value or
// keys.
#include "host/scene/scene_reader.h"

#include "host/base/option_table.h"
#include "host/base/text.h"
#include "host/scene/param_bounds.h"
#include "host/scene/scene_paths.h"
#include "plugin/param_ids.h"

#include "hostsdk/bitmap.h"

namespace host {

void SceneReader::ReadBlock(const Json& record, const std::string& where, const LoadedObject& loaded) {
    auto* cd = dynamic_cast<ClassDesc2*>(loaded.classDesc);
    if (cd == nullptr)
        Fail(where, "this object's class has no parameter blocks");
    OnlyMembers(record, where, {"ref", "block", "params"});
    const int blockId = ReadInt(Member(record, where, "block"), where + "/block");
    ParamBlockDesc2* desc = cd->GetParamBlockDescByID(static_cast<BlockID>(blockId));
    if (desc == nullptr)
        Fail(where + "/block", "the class has no parameter block " + std::to_string(blockId));
    const int ref = ReadInt(Member(record, where, "ref"), where + "/ref");
    if (ref < 0 || ref >= loaded.object->NumRefs())
        Fail(where + "/ref", "the object has no reference " + std::to_string(ref));
    CheckKind(*loaded.object, ref, PARAMETER_BLOCK2_CLASS_ID, where + "/ref",
              "reference " + std::to_string(ref));

    IParamBlock2* block = CreateParameterBlock2(desc, loaded.object);
    loaded.object->ReplaceReference(ref, block);
    if (loaded.object->GetReference(ref) != block) {
        block->DeleteThis();
        Fail(where + "/ref", "the object refused the parameter block");
    }
    const Json& params = Member(record, where, "params");
    if (!params.is_array())
        Fail(where + "/params", "expected an array");
    std::map<ParamID, std::string> placed;
    for (std::size_t i = 0; i < params.size(); ++i) {
        const std::string at = where + "/params/" + std::to_string(i);
        ReadParam(*block, params[i], at);
        placed[static_cast<ParamID>(params[i]["id"].get<int>())] = at;
    }
    CheckBounds(*block, loaded.object->ClassID(), placed);
}

// After the whole block is read, since the combined mode's bounds depend on the map's version.
void SceneReader::CheckBounds(IParamBlock2& block, const Class_ID& owner,
                              const std::map<ParamID, std::string>& placed) const {
    const bool firstVersion = owner == CHROMASIFT_CLASS_ID && block.GetInt(pb_version, 0) != kCurrentVersion;
    for (const auto& [id, where] : placed) {
        const ParamDef& def = *block.GetDesc()->GetParamDef(id);
        const std::optional<ParamBounds> bounds = StoredParamBounds(owner, def);
        if (!bounds || (firstVersion && id == pb_mapping_old))
            continue;
        const bool isFloat = base_type(def.type) == TYPE_FLOAT;
        const auto check = [&](double value, const std::string& at) {
            if (!(value >= bounds->low && value <= bounds->high))
                Fail(at, "parameter " + std::to_string(id) + " (\"" + ToUtf8(def.internalName) + "\") is " +
                             BoundText(value) + ", outside its range " + BoundsText(*bounds));
        };
        const KeyTrack keys = block.GetKeys(id);
        for (std::size_t k = 0; k < keys.size(); ++k)
            check(keys[k].value, where + "/keys/" + std::to_string(k) + "/1");
        if (keys.empty())
            check(isFloat ? block.GetFloat(id) : block.GetInt(id), where + "/value");
    }
}

void SceneReader::ReadParam(IParamBlock2& block, const Json& param, const std::string& where) {
    OnlyMembers(param, where, {"id", "name", "type", "value", "keys"});
    const int id = ReadInt(Member(param, where, "id"), where + "/id");
    const ParamDef* def = block.GetDesc()->GetParamDef(static_cast<ParamID>(id));
    if (def == nullptr)
        Fail(where + "/id", "the block has no parameter " + std::to_string(id));
    const std::string declared = ParamTypeName(def->type);
    const Json& type = Member(param, where, "type");
    if (!type.is_string() || type.get<std::string>() != declared)
        Fail(where + "/type", "parameter " + std::to_string(id) + " (\"" + ToUtf8(def->internalName) +
                                  "\") has type \"" + declared + "\", the file gives " + type.dump());
    const auto pid = static_cast<ParamID>(id);
    if (param.is_object() && param.contains("keys")) {
        if (param.contains("value"))
            Fail(where, "a parameter holds either a value or keys, the file gives both");
        ReadKeys(block, *def, param["keys"], where + "/keys");
        return;
    }
    const Json& value = Member(param, where, "value");
    const std::string at = where + "/value";
    switch (base_type(def->type)) {
    case TYPE_FLOAT:
        block.SetValue(pid, 0, ReadFloat(value, at));
        break;
    case TYPE_BITMAP:
        if (value.is_null()) {
            block.SetValue(pid, 0, static_cast<PBBitmap*>(nullptr));
        } else if (value.is_string()) {
            BitmapInfo info;
            info.SetName(FromUtf8(SceneRelativePath(origin, value.get<std::string>())).c_str());
            PBBitmap bitmap(info);
            block.SetValue(pid, 0, &bitmap);
        } else {
            Fail(at, "expected a file name or null");
        }
        break;
    case TYPE_TEXMAP:
    case TYPE_REFTARG: {
        ReferenceTarget* target = value.is_null() ? nullptr : Resolve(value, at);
        if (target != nullptr) {
            const std::string slot =
                "parameter " + std::to_string(id) + " (\"" + ToUtf8(def->internalName) + "\")";
            if (base_type(def->type) == TYPE_TEXMAP && dynamic_cast<Texmap*>(target) == nullptr)
                Fail(at, slot + " holds a map, the file gives " + KindName(target->SuperClassID()));
            // A parameter standing for one of the owner's references holds what that reference holds.
            if ((def->flags & P_OWNERS_REF) != 0 && block.GetOwner() != nullptr)
                CheckKind(*block.GetOwner(), def->refNo, target->SuperClassID(), at, slot);
        }
        if (!block.SetValue(pid, 0, target))
            Fail(at, "the reference would make the object refer to itself");
        break;
    }
    case TYPE_POINT3:
    case TYPE_RGBA: {
        if (!value.is_array() || value.size() != 3)
            Fail(at, "expected three numbers");
        block.SetValue(pid, 0,
                       Point3(ReadFloat(value[0], at), ReadFloat(value[1], at), ReadFloat(value[2], at)));
        break;
    }
    default:
        if (value.is_boolean())
            block.SetValue(pid, 0, value.get<bool>() ? 1 : 0);
        else
            block.SetValue(pid, 0, ReadInt(value, at));
        break;
    }
}

} // namespace host
