// Scene files: object records (class, name, settings) and the references between objects.
#include "host/scene/scene_reader.h"

#include "host/base/text.h"
#include "host/scene/class_names.h"
#include "host/scene/primitive_objects.h"

#include "hostsdk/bitmap.h"
#include "hostsdk/class_desc.h"
#include "hostsdk/poly_object.h"
#include "hostsdk/std_mat.h"
#include "hostsdk/tex_gen.h"
#include "hostsdk/tri_object.h"

#include <algorithm>

namespace host {

std::string SceneReader::KindName(SClass_ID superClass) {
    switch (superClass) {
    case PARAMETER_BLOCK2_CLASS_ID:
        return "a parameter block";
    case XYZGEN_CLASS_ID:
        return "a coordinate generator";
    case TEXOUTPUT_CLASS_ID:
        return "a texture output";
    case TEXMAP_CLASS_ID:
        return "a map";
    case MATERIAL_CLASS_ID:
        return "a material";
    case GEOMOBJECT_CLASS_ID:
        return "a geometric object";
    case BASENODE_CLASS_ID:
        return "a node";
    default:
        return "an object of super class " + HexWord(superClass);
    }
}

ReferenceTarget* SceneReader::Instantiate(SClass_ID superClass, const Class_ID& classId,
                                          ClassDesc** classDesc) {
    *classDesc = nullptr;
    if (superClass == XYZGEN_CLASS_ID && classId == STDXYZGEN_CLASS_ID)
        return GetNewDefaultXYZGen();
    if (superClass == TEXOUTPUT_CLASS_ID && classId == STDTEXOUT_CLASS_ID)
        return GetNewDefaultTextureOutput();
    if (superClass == TEXMAP_CLASS_ID && classId == BMTEX_CLASS_ID)
        return NewDefaultBitmapTex();
    if (superClass == MATERIAL_CLASS_ID && classId == Class_ID(DMTL_CLASS_ID, 0))
        return NewDefaultStdMat();
    // Nodes have no class of their own.
    if (superClass == BASENODE_CLASS_ID && classId == Class_ID(0, 0))
        return new INode();
    if (superClass == GEOMOBJECT_CLASS_ID) {
        if (classId == triObjectClassID)
            return CreateNewTriObject();
        if (classId == polyObjectClassID)
            return new PolyObject();
        if (const PrimitiveType* primitive = FindPrimitiveType(classId))
            return CreatePrimitive(*primitive);
    }
    ClassDesc* cd = plugins.FindClass(superClass, classId);
    if (cd == nullptr)
        return nullptr;
    *classDesc = cd;
    void* created = cd->Create(TRUE);
    if (superClass == TEXMAP_CLASS_ID)
        return static_cast<Texmap*>(created);
    // Only maps come from plug-ins in this host.
    return nullptr;
}

void SceneReader::Create(const Json& record, const std::string& where, SceneRoot& keeper) {
    if (!record.is_object())
        Fail(where, "expected an object record");
    OnlyMembers(record, where,
                {"id", "superClass", "class", "name", "settings", "paramBlocks", "references"});
    const int id = ReadInt(Member(record, where, "id"), where + "/id");
    if (objects.count(id) != 0)
        Fail(where + "/id", "object ID " + std::to_string(id) + " is used twice");
    const Json& classWords = Member(record, where, "class");
    // A class by its short name brings its super class with it.
    const ClassName* named = nullptr;
    if (classWords.is_string()) {
        named = FindClassName(classWords.get<std::string>());
        if (named == nullptr)
            Fail(where + "/class",
                 "no class is called " + classWords.dump() + "; the names are " + ClassNameList());
    }
    const std::optional<ULONG> superClass = named != nullptr && !record.contains("superClass")
                                                ? std::optional<ULONG>(named->superClass)
                                                : ReadWord(Member(record, where, "superClass"));
    if (!superClass)
        Fail(where + "/superClass", "expected a class word such as \"0x00000c10\"");
    if (named != nullptr && *superClass != named->superClass)
        Fail(where + "/superClass",
             "the class " + classWords.dump() + " is of super class " + HexWord(named->superClass));
    if (named == nullptr && (!classWords.is_array() || classWords.size() != 2))
        Fail(where + "/class", "expected two class ID words, or a class name");
    const std::optional<ULONG> a = named != nullptr ? named->classId.PartA() : ReadWord(classWords[0]);
    const std::optional<ULONG> b = named != nullptr ? named->classId.PartB() : ReadWord(classWords[1]);
    if (!a || !b)
        Fail(where + "/class", "expected two class ID words such as \"0x61c17ce2\"");

    ClassDesc* cd = nullptr;
    ReferenceTarget* object = Instantiate(*superClass, Class_ID(*a, *b), &cd);
    if (object == nullptr)
        Fail(where + "/class", "no class " + HexWord(*a) + " " + HexWord(*b) + " of super class " +
                                   HexWord(*superClass) + " is installed");
    keeper.AddObject(object);
    objects[id] = LoadedObject{object, cd};
    slotKinds[object] = SlotKinds(*object, cd);

    if (record.contains("name")) {
        if (!record["name"].is_string())
            Fail(where + "/name", "expected a string");
        const std::wstring name = FromUtf8(record["name"].get<std::string>());
        if (auto* mtl = dynamic_cast<MtlBase*>(object))
            mtl->SetName(name);
        else if (auto* node = dynamic_cast<INode*>(object))
            node->SetName(name.c_str());
    }
    if (record.contains("settings"))
        ApplySettings(*object, record["settings"], where + "/settings");
}

void SceneReader::ApplySettings(ReferenceTarget& object, const Json& settings, const std::string& where) {
    if (!settings.is_object())
        Fail(where, "expected an object");
    if (!ApplyGeometrySettings(object, settings, where))
        ApplyMaterialSettings(object, settings, where);
}

void SceneReader::Connect(const Json& record, const std::string& where) {
    const LoadedObject& loaded = objects.at(record["id"].get<int>());
    ReferenceTarget* owner = loaded.object;
    if (record.contains("paramBlocks")) {
        const Json& blocks = record["paramBlocks"];
        if (!blocks.is_array())
            Fail(where + "/paramBlocks", "expected an array");
        for (std::size_t i = 0; i < blocks.size(); ++i)
            ReadBlock(blocks[i], where + "/paramBlocks/" + std::to_string(i), loaded);
    }
    if (record.contains("references")) {
        const Json& references = record["references"];
        if (!references.is_array())
            Fail(where + "/references", "expected an array");
        for (std::size_t i = 0; i < references.size(); ++i) {
            const std::string at = where + "/references/" + std::to_string(i);
            OnlyMembers(references[i], at, {"ref", "object"});
            const int ref = ReadInt(Member(references[i], at, "ref"), at + "/ref");
            if (ref < 0 || ref >= owner->NumRefs())
                Fail(at + "/ref", "the object has no reference " + std::to_string(ref));
            ReferenceTarget* target = Resolve(Member(references[i], at, "object"), at + "/object");
            CheckKind(*owner, ref, target->SuperClassID(), at + "/object",
                      "reference " + std::to_string(ref));
            if (owner->ReplaceReference(ref, target) != REF_SUCCEED)
                Fail(at + "/object", "the reference would make the object refer to itself");
        }
    }
}

ReferenceTarget* SceneReader::Resolve(const Json& value, const std::string& where) const {
    const int id = ReadInt(value, where);
    const auto found = objects.find(id);
    if (found == objects.end())
        Fail(where, "no object with ID " + std::to_string(id));
    return found->second.object;
}

std::vector<SClass_ID> SceneReader::SlotKinds(ReferenceTarget& object, ClassDesc* classDesc) {
    std::vector<SClass_ID> kinds(static_cast<std::size_t>(std::max(object.NumRefs(), 0)));
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        const int ref = static_cast<int>(i);
        kinds[i] = object.ReferenceSuperClassID(ref);
        if (kinds[i] == 0)
            if (ReferenceTarget* made = object.GetReference(ref))
                kinds[i] = made->SuperClassID();
    }
    if (auto* cd = dynamic_cast<ClassDesc2*>(classDesc))
        for (int b = 0; b < cd->NumParamBlockDescs(); ++b) {
            const int ref = cd->GetParamBlockDesc(b)->RefNo();
            if (ref >= 0 && static_cast<std::size_t>(ref) < kinds.size())
                kinds[static_cast<std::size_t>(ref)] = PARAMETER_BLOCK2_CLASS_ID;
        }
    return kinds;
}

// A slot takes only the kind of object it holds: its owner would use any other object as that kind.
void SceneReader::CheckKind(ReferenceMaker& owner, int ref, SClass_ID given, const std::string& where,
                            const std::string& slot) const {
    const auto found = slotKinds.find(&owner);
    const SClass_ID wanted =
        found == slotKinds.end() || ref < 0 || static_cast<std::size_t>(ref) >= found->second.size()
            ? owner.ReferenceSuperClassID(ref)
            : found->second[static_cast<std::size_t>(ref)];
    if (wanted != 0 && given != wanted)
        Fail(where, slot + " holds " + KindName(wanted) + ", the file gives " + KindName(given));
}

} // namespace host
