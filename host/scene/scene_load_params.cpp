// Scene files: an object's parameter blocks, each parameter by ID with its declared type, and a value or
// keys.
#include "host/scene/scene_reader.h"

#include "host/base/option_table.h"
#include "host/base/text.h"
#include "host/scene/map_settings.h"
#include "host/scene/param_bounds.h"
#include "host/scene/scene_paths.h"
#include "plugin/param_ids.h"
#include "shade/mode_table.h"

#include "hostsdk/bitmap.h"

namespace host {

void SceneReader::ReadBlock(const Json& record, const std::string& where, const LoadedObject& loaded) {
    auto* cd = dynamic_cast<ClassDesc2*>(loaded.classDesc);
    if (cd == nullptr)
        Fail(where, "this object's class has no parameter blocks");
    OnlyMembers(record, where, {"ref", "block", "mode", "params"});
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
        placed[ReadParam(*block, params[i], at)] = at;
    }
    if (record.contains("mode"))
        ReadModeLabel(*block, record["mode"], where + "/mode", loaded.object->ClassID(), placed);
    CheckBounds(*block, loaded.object->ClassID(), placed, where);
}

// After the whole block is read, since the combined mode's bounds depend on the map's version.
void SceneReader::CheckBounds(IParamBlock2& block, const Class_ID& owner,
                              const std::map<ParamID, std::string>& placed, const std::string& where) const {
    const bool firstVersion = owner == CHROMASIFT_CLASS_ID && block.GetInt(pb_version, 0) != kCurrentVersion;
    for (const auto& [id, place] : placed) {
        const ParamDef& def = *block.GetDesc()->GetParamDef(id);
        const std::optional<ParamBounds> bounds = StoredParamBounds(owner, def);
        if (!bounds || (firstVersion && id == pb_mapping_old))
            continue;
        const bool isFloat = base_type(def.type) == TYPE_FLOAT;
        const auto check = [&, id = id](double value, const std::string& at) {
            if (!(value >= bounds->low && value <= bounds->high))
                Fail(at, "parameter " + std::to_string(id) + " (\"" + ToUtf8(def.internalName) + "\") is " +
                             BoundText(value) + ", outside its range " + BoundsText(*bounds));
        };
        const KeyTrack keys = block.GetKeys(id);
        for (std::size_t k = 0; k < keys.size(); ++k)
            check(keys[k].value, place + "/keys/" + std::to_string(k) + "/1");
        if (keys.empty())
            check(isFloat ? block.GetFloat(id) : block.GetInt(id), place + "/value");
    }
    // A current map keeps its mode three ways (the combined number, the category and the category's
    // radio): shading reads the first, the rollout the others, so they must name one mode. Keys animate
    // each on its own and are left as they are.
    if (owner != CHROMASIFT_CLASS_ID || firstVersion)
        return;
    const int combined = block.GetInt(pb_mapping_old, 0), category = block.GetInt(pb_mapping, 0);
    const ParamID subParam = kSubModeParams[category];
    const int subMode = block.GetInt(subParam, 0);
    for (const ParamID id :
         {static_cast<ParamID>(pb_mapping_old), static_cast<ParamID>(pb_mapping), subParam})
        if (!block.GetKeys(id).empty())
            return;
    const distribution::ModeRow* row = distribution::FindMode(combined);
    if (row != nullptr && (static_cast<int>(row->category) != category || row->subMode != subMode)) {
        const auto found = placed.find(pb_mapping_old);
        Fail(found != placed.end() ? found->second : where,
             "the combined mode " + std::to_string(combined) + " (\"" + row->label +
                 "\") disagrees with the category " + std::to_string(category) + " and its choice " +
                 std::to_string(subMode) +
                 "; give the three numbers of one mode (see the guide's table of modes)");
    }
}

// A Chromasift map's mode by its rollout label sets the three numbers that keep it, as the rollout does.
void SceneReader::ReadModeLabel(IParamBlock2& block, const Json& label, const std::string& where,
                                const Class_ID& owner, const std::map<ParamID, std::string>& placed) const {
    if (owner != CHROMASIFT_CLASS_ID)
        Fail(where, "only a Chromasift map's block takes a mode");
    const MapMode* mode = label.is_string() ? FindMapMode(label.get<std::string>()) : nullptr;
    if (mode == nullptr)
        Fail(where, "expected the label of a mode: " + MapModeLabels());
    const int category = static_cast<int>(mode->category);
    for (const ParamID id : {static_cast<ParamID>(pb_mapping_old), static_cast<ParamID>(pb_mapping),
                             static_cast<ParamID>(kSubModeParams[category])})
        if (placed.count(id) != 0)
            Fail(where,
                 "give the mode either by its label or by its numbers, not both (" + placed.at(id) + ")");
    block.SetValue(pb_mapping_old, 0, static_cast<int>(mode->combined));
    block.SetValue(pb_mapping, 0, category);
    block.SetValue(kSubModeParams[category], 0, mode->subMode);
}

// The parameter a record names by its ID or by its name ("Gamma", "# colors"); a name two parameters share
// ("Mapping") is refused.
const ParamDef& SceneReader::NamedParam(IParamBlock2& block, const Json& param,
                                        const std::string& where) const {
    ParamBlockDesc2& desc = *block.GetDesc();
    if (param.is_object() && !param.contains("id") && param.contains("name")) {
        const Json& name = param["name"];
        std::vector<const ParamDef*> found;
        for (int i = 0; i < desc.Count(); ++i)
            if (name.is_string() &&
                ToUtf8(desc.GetParamDefByIndex(i).internalName) == name.get<std::string>())
                found.push_back(&desc.GetParamDefByIndex(i));
        if (found.size() != 1)
            Fail(where + "/name", found.empty()
                                      ? "the block has no parameter called " + name.dump()
                                      : name.dump() + " names parameters " + std::to_string(found[0]->id) +
                                            " and " + std::to_string(found[1]->id) + "; give its \"id\"");
        return *found[0];
    }
    const int id = ReadInt(Member(param, where, "id"), where + "/id");
    const ParamDef* def = desc.GetParamDef(static_cast<ParamID>(id));
    if (def == nullptr)
        Fail(where + "/id", "the block has no parameter " + std::to_string(id));
    return *def;
}

ParamID SceneReader::ReadParam(IParamBlock2& block, const Json& param, const std::string& where) {
    OnlyMembers(param, where, {"id", "name", "type", "value", "keys"});
    const ParamDef* def = &NamedParam(block, param, where);
    const int id = def->id;
    const std::string declared = ParamTypeName(def->type);
    // The type may be left out; given, it must be the declared one.
    const Json& type = param.contains("type") ? param["type"] : Json(declared);
    if (!type.is_string() || type.get<std::string>() != declared)
        Fail(where + "/type", "parameter " + std::to_string(id) + " (\"" + ToUtf8(def->internalName) +
                                  "\") has type \"" + declared + "\", the file gives " + type.dump());
    const auto pid = static_cast<ParamID>(id);
    if (param.is_object() && param.contains("keys")) {
        if (param.contains("value"))
            Fail(where, "a parameter holds either a value or keys, the file gives both");
        ReadKeys(block, *def, param["keys"], where + "/keys");
        return pid;
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
    return pid;
}

} // namespace host
