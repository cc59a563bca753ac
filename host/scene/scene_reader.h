#pragma once

// The reader behind SceneFromDocument. It creates a document's objects, connects their parameter blocks and
// references, has each object load, and hands the scene over once the post-load callbacks have run. Its
// work is split by record kind: the document (scene_load.cpp), object records and references
// (scene_load_objects.cpp), nodes and geometry (scene_load_geometry.cpp), materials and the objects maps
// hold (scene_load_materials.cpp), parameter blocks (scene_load_params.cpp), keys and the time slider
// (scene_load_keys.cpp), and plain values (scene_reader.cpp). Every failure throws SceneError naming the
// file (`origin`) and the place in the document (a JSON pointer).
#include "host/scene/scene_file.h"

#include "hostsdk/param_block.h"

#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace host {

class SceneReader {
public:
    SceneReader(std::string origin, const PluginManager& plugins, const ModelImportOptions& models);

    std::unique_ptr<SceneRoot> Read(const Json& document, const SceneAdditions& additions);

private:
    struct LoadedObject {
        ReferenceTarget* object = nullptr;
        ClassDesc* classDesc = nullptr;
    };
    // Where the scene leaves the time slider, and its animation range.
    struct TimeSlider {
        TimeValue time = 0;
        Interval range;
    };

    // Values.
    [[noreturn]] void Fail(const std::string& where, const std::string& what) const;
    const Json& Member(const Json& object, const std::string& where, const char* name) const;
    int ReadInt(const Json& value, const std::string& where) const;
    float ReadFloat(const Json& value, const std::string& where) const;
    bool ReadBool(const Json& value, const std::string& where) const;
    // Refuses a member of `record` other than `names`, suggesting the name it most likely meant.
    void OnlyMembers(const Json& record, const std::string& where,
                     std::initializer_list<const char*> names) const;

    // Object records and references.
    ReferenceTarget* Instantiate(SClass_ID superClass, const Class_ID& classId, ClassDesc** classDesc);
    // Creates the object of a record, kept alive by `keeper`, with its name and settings.
    void Create(const Json& record, const std::string& where, SceneRoot& keeper);
    void ApplySettings(ReferenceTarget& object, const Json& settings, const std::string& where);
    // Gives the object of a record its parameter blocks and references.
    void Connect(const Json& record, const std::string& where);
    ReferenceTarget* Resolve(const Json& value, const std::string& where) const;
    // The kind of object each reference slot of a new object takes, 0 for any: the SDK's answer where it
    // gives one (nodes, materials), a parameter block where the class's descriptors place one, else the
    // kind the object itself made for the slot (a map's coordinates and output). Read before the file
    // fills the slots, since objects cast what their slots hold without asking.
    static std::vector<SClass_ID> SlotKinds(ReferenceTarget& object, ClassDesc* classDesc);
    void CheckKind(ReferenceMaker& owner, int ref, SClass_ID given, const std::string& where,
                   const std::string& slot) const;
    // What a scene file calls the objects of a super class, for messages.
    static std::string KindName(SClass_ID superClass);

    // Nodes, primitives and meshes; false for other objects.
    bool ApplyGeometrySettings(ReferenceTarget& object, const Json& settings, const std::string& where);
    template <class Fill>
    void ReadMeshFile(const Json& name, const std::string& where, bool triangles, Fill fill);

    // Standard materials, coordinate generators, texture outputs and bitmap textures; other objects take
    // no settings.
    void ApplyMaterialSettings(ReferenceTarget& object, const Json& settings, const std::string& where);

    // Parameter blocks.
    void ReadBlock(const Json& record, const std::string& where, const LoadedObject& loaded);
    // Reads one parameter record; returns its ID.
    ParamID ReadParam(IParamBlock2& block, const Json& param, const std::string& where);
    const ParamDef& NamedParam(IParamBlock2& block, const Json& param, const std::string& where) const;
    void ReadModeLabel(IParamBlock2& block, const Json& label, const std::string& where,
                       const Class_ID& owner, const std::map<ParamID, std::string>& placed) const;
    // Refuses a stored number outside its parameter's bounds, and a current Chromasift map whose three
    // mode numbers disagree; `placed` gives each parameter's place, `where` the block's.
    void CheckBounds(IParamBlock2& block, const Class_ID& owner, const std::map<ParamID, std::string>& placed,
                     const std::string& where) const;

    // Keys and the time slider.
    void ReadKeys(IParamBlock2& block, const ParamDef& def, const Json& keys, const std::string& where);
    TimeSlider ReadTimeSlider(const Json& document) const;
    Interval ReadAnimationRange(const Json& value) const;

    std::string origin;
    const PluginManager& plugins;
    const ModelImportOptions& models;
    std::map<int, LoadedObject> objects;
    std::map<const ReferenceMaker*, std::vector<SClass_ID>> slotKinds;
};

} // namespace host
