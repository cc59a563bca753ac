#include "host/scene/scene_file.h"

#include "host/base/text.h"
#include "host/import/model_meshes.h"
#include "host/scene/frame_list.h"
#include "host/scene/geometry_json.h"
#include "host/scene/primitive_objects.h"
#include "host/scene/scene_json.h"

#include "hostsdk/anim_time.h"
#include "hostsdk/bitmap.h"
#include "hostsdk/core_interface.h"
#include "hostsdk/load_save.h"
#include "hostsdk/node.h"
#include "hostsdk/param_block.h"
#include "hostsdk/poly_object.h"
#include "hostsdk/std_mat.h"
#include "hostsdk/tex_gen.h"
#include "hostsdk/tri_object.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

namespace host {

namespace {

// Keeps every object of a load alive until the scene's root holds what it needs; objects nothing refers
// to are deleted with it, also when the load fails half-way.
class LoadKeeper : public SceneRoot {};

class CollectingLoader : public ILoad {
public:
    ~CollectingLoader() override {
        for (PostLoadCallback* callback : callbacks)
            delete callback;
    }
    void RegisterPostLoadCallback(PostLoadCallback* callback) override { callbacks.push_back(callback); }

    // Lower priorities first; callbacks of equal priority in registration order. Each deletes itself.
    void RunCallbacks() {
        std::stable_sort(callbacks.begin(), callbacks.end(), [](PostLoadCallback* a, PostLoadCallback* b) {
            return a->Priority() < b->Priority();
        });
        std::vector<PostLoadCallback*> pending;
        pending.swap(callbacks);
        for (PostLoadCallback* callback : pending)
            callback->proc(this);
    }

private:
    std::vector<PostLoadCallback*> callbacks;
};

// What a scene file calls the objects of a super class, for messages.
std::string KindName(SClass_ID superClass) {
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

// "1 GiB", "16 MiB", "1000 bytes", for messages.
std::string ByteAmount(std::uint64_t bytes) {
    constexpr std::uint64_t kMiB = std::uint64_t{1} << 20, kGiB = std::uint64_t{1} << 30;
    if (bytes >= kGiB && bytes % kGiB == 0)
        return std::to_string(bytes / kGiB) + " GiB";
    if (bytes >= kMiB && bytes % kMiB == 0)
        return std::to_string(bytes / kMiB) + " MiB";
    return std::to_string(bytes) + " bytes";
}

struct LoadedObject {
    ReferenceTarget* object = nullptr;
    ClassDesc* classDesc = nullptr;
};

class SceneReader {
public:
    SceneReader(std::string origin, const PluginManager& plugins, const ModelImportOptions& models)
        : origin(std::move(origin)), plugins(plugins), models(models) {}

    std::unique_ptr<SceneRoot> Read(const Json& document, const SceneAdditions& additions) {
        if (!document.is_object())
            Fail("", "a scene file holds one JSON object");
        const auto format = document.find("format");
        if (format == document.end() || !format->is_string() || format->get<std::string>() != kSceneFormat)
            Fail("/format", std::string("expected \"") + kSceneFormat + "\"");
        const Json& version = Member(document, "", "version");
        if (!version.is_number_integer() || version.get<int>() != kSceneVersion)
            Fail("/version", "this host reads scene version " + std::to_string(kSceneVersion));
        const Json& records = Member(document, "", "objects");
        if (!records.is_array())
            Fail("/objects", "expected an array of objects");

        TimeValue slider = 0;
        if (document.contains("sliderTime"))
            slider = ReadInt(document["sliderTime"], "/sliderTime");
        const Interval range =
            document.contains("animationRange")
                ? ReadAnimationRange(document["animationRange"])
                : Interval(FramesToTicks(kDefaultFirstFrame), FramesToTicks(kDefaultLastFrame));

        // Values and keys are read as stored: animate mode must not turn them into new keys.
        AnimateSuspend suspended;
        LoadKeeper keeper;
        for (std::size_t i = 0; i < records.size(); ++i)
            Create(records[i], "/objects/" + std::to_string(i), keeper);
        for (std::size_t i = 0; i < records.size(); ++i)
            Connect(records[i], "/objects/" + std::to_string(i));

        CollectingLoader loader;
        for (auto& [id, loaded] : objects)
            loaded.object->Load(&loader);

        auto scene = std::make_unique<SceneRoot>();
        const Json& maps = document.contains("maps") ? document["maps"] : Json::array();
        if (!maps.is_array())
            Fail("/maps", "expected an array of object IDs");
        for (std::size_t i = 0; i < maps.size(); ++i) {
            auto* map = dynamic_cast<Texmap*>(Resolve(maps[i], "/maps/" + std::to_string(i)));
            if (map == nullptr)
                Fail("/maps/" + std::to_string(i), "the object is not a map");
            scene->AddMap(map);
        }
        const Json& nodes = document.contains("nodes") ? document["nodes"] : Json::array();
        if (!nodes.is_array())
            Fail("/nodes", "expected an array of object IDs");
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            auto* node = dynamic_cast<INode*>(Resolve(nodes[i], "/nodes/" + std::to_string(i)));
            if (node == nullptr)
                Fail("/nodes/" + std::to_string(i), "the object is not a node");
            scene->AddNode(node);
        }
        if (additions)
            additions(*scene, [this](int id) {
                const auto found = objects.find(id);
                return found == objects.end() ? nullptr : found->second.object;
            });
        if (document.contains("camera"))
            scene->SetCamera(ReadCamera(document["camera"], origin, "/camera"));
        // Post-load work sees the whole scene in place, with the slider where the scene left it.
        GetCOREInterface()->SetAnimRange(range);
        GetCOREInterface()->SetTime(slider);
        loader.RunCallbacks();
        return scene;
    }

private:
    [[noreturn]] void Fail(const std::string& where, const std::string& what) const {
        throw SceneError(origin + ": " + (where.empty() ? "/" : where) + ": " + what);
    }

    const Json& Member(const Json& object, const std::string& where, const char* name) const {
        if (!object.is_object() || !object.contains(name))
            Fail(where, std::string("missing \"") + name + "\"");
        return object[name];
    }

    int ReadInt(const Json& value, const std::string& where) const {
        if (!value.is_number_integer())
            Fail(where, "expected an integer");
        const long long number = value.get<long long>();
        if (number < -2147483648LL || number > 2147483647LL)
            Fail(where, "integer out of range");
        return static_cast<int>(number);
    }

    // [first, last] in frames, as far as ticks in a time value reach.
    Interval ReadAnimationRange(const Json& value) const {
        if (!value.is_array() || value.size() != 2)
            Fail("/animationRange", "expected [first, last] in frames");
        const int first = ReadInt(value[0], "/animationRange/0");
        const int last = ReadInt(value[1], "/animationRange/1");
        if (first > last || first < -kMaxFrame || last > kMaxFrame)
            Fail("/animationRange", "expected a first frame not after the last, each from " +
                                        std::to_string(-kMaxFrame) + " to " + std::to_string(kMaxFrame));
        return Interval(FramesToTicks(first), FramesToTicks(last));
    }

    float ReadFloat(const Json& value, const std::string& where) const {
        if (!value.is_number())
            Fail(where, "expected a number");
        return value.get<float>();
    }

    ReferenceTarget* Instantiate(SClass_ID superClass, const Class_ID& classId, ClassDesc** classDesc) {
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

    void Create(const Json& record, const std::string& where, LoadKeeper& keeper) {
        if (!record.is_object())
            Fail(where, "expected an object record");
        const int id = ReadInt(Member(record, where, "id"), where + "/id");
        if (objects.count(id) != 0)
            Fail(where + "/id", "object ID " + std::to_string(id) + " is used twice");
        const std::optional<ULONG> superClass = ReadWord(Member(record, where, "superClass"));
        if (!superClass)
            Fail(where + "/superClass", "expected a class word such as \"0x00000c10\"");
        const Json& classWords = Member(record, where, "class");
        if (!classWords.is_array() || classWords.size() != 2)
            Fail(where + "/class", "expected two class ID words");
        const std::optional<ULONG> a = ReadWord(classWords[0]);
        const std::optional<ULONG> b = ReadWord(classWords[1]);
        if (!a || !b)
            Fail(where + "/class", "expected two class ID words such as \"0x61c17ce2\"");

        ClassDesc* cd = nullptr;
        ReferenceTarget* object = Instantiate(*superClass, Class_ID(*a, *b), &cd);
        if (object == nullptr)
            Fail(where + "/class", "no class " + HexWord(*a) + " " + HexWord(*b) + " of super class " +
                                       HexWord(*superClass) + " is installed");
        keeper.AddObject(object);
        objects[id] = LoadedObject{object, cd};

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

    void ApplySettings(ReferenceTarget& object, const Json& settings, const std::string& where) {
        if (!settings.is_object())
            Fail(where, "expected an object");
        if (ApplyGeometrySettings(object, settings, where))
            return;
        if (auto* coords = dynamic_cast<StdXYZGen*>(&object)) {
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
                    coords->SetOffs(axis, ReadFloat(Member(values, at, "offset"), at + "/offset"), 0);
                    coords->SetScl(axis, ReadFloat(Member(values, at, "scale"), at + "/scale"), 0);
                    coords->SetAng(axis, ReadFloat(Member(values, at, "angle"), at + "/angle"), 0);
                }
            }
        } else if (auto* output = dynamic_cast<TextureOutput*>(&object)) {
            if (settings.contains("outputLevel"))
                output->SetOutputLevel(0, ReadFloat(settings["outputLevel"], where + "/outputLevel"));
            if (settings.contains("invert")) {
                if (!settings["invert"].is_boolean())
                    Fail(where + "/invert", "expected true or false");
                output->SetInvert(settings["invert"].get<bool>() ? TRUE : FALSE);
            }
        } else if (auto* bitmap = dynamic_cast<BitmapTex*>(&object)) {
            if (settings.contains("mapName")) {
                if (!settings["mapName"].is_string())
                    Fail(where + "/mapName", "expected a file name");
                bitmap->SetMapName(FromUtf8(settings["mapName"].get<std::string>()).c_str(), false);
            }
        }
    }

    void OnlySettings(const Json& settings, const std::string& where,
                      std::initializer_list<const char*> names) const {
        for (const auto& item : settings.items())
            if (std::find_if(names.begin(), names.end(), [&](const char* n) { return item.key() == n; }) ==
                names.end())
                Fail(where + "/" + item.key(), "unknown setting");
    }

    bool ReadBool(const Json& value, const std::string& where) const {
        if (!value.is_boolean())
            Fail(where, "expected true or false");
        return value.get<bool>();
    }

    // A model file named by a scene file, relative to the scene file's folder, as one mesh: every part of
    // the model placed as in the file. `fill` takes the merged part; a triangle mesh asks for triangles.
    template <class Fill>
    void ReadMeshFile(const Json& name, const std::string& where, bool triangles, Fill fill) {
        if (!name.is_string() || name.get<std::string>().empty())
            Fail(where, "expected the name of a model file");
        const std::string file = name.get<std::string>();
        const std::string resolved = PathToUtf8(PathFromUtf8(origin).parent_path() / PathFromUtf8(file));
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

    // Nodes, geometric objects and standard materials; false for other objects.
    bool ApplyGeometrySettings(ReferenceTarget& object, const Json& settings, const std::string& where) {
        if (auto* node = dynamic_cast<INode*>(&object)) {
            OnlySettings(settings, where, {"gbufferId", "position", "transform", "hidden"});
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
            OnlySettings(settings, where, {"mesh", "meshFile"});
            if (settings.contains("mesh") && settings.contains("meshFile"))
                Fail(where + "/meshFile", "give either \"mesh\" or \"meshFile\", not both");
            if (settings.contains("mesh"))
                ReadMesh(settings["mesh"], origin, where + "/mesh", tri->GetMesh());
            if (settings.contains("meshFile"))
                ReadMeshFile(settings["meshFile"], where + "/meshFile", true, [tri](ImportedPart&& part) {
                    PartToMesh(std::move(part), true, tri->GetMesh());
                });
        } else if (auto* poly = dynamic_cast<PolyObject*>(&object)) {
            OnlySettings(settings, where, {"polyMesh", "meshFile"});
            if (settings.contains("polyMesh") && settings.contains("meshFile"))
                Fail(where + "/meshFile", "give either \"polyMesh\" or \"meshFile\", not both");
            if (settings.contains("polyMesh"))
                ReadPolyMesh(settings["polyMesh"], origin, where + "/polyMesh", poly->GetMesh());
            if (settings.contains("meshFile"))
                ReadMeshFile(settings["meshFile"], where + "/meshFile", false, [poly](ImportedPart&& part) {
                    PartToPolyMesh(std::move(part), true, poly->GetMesh());
                });
        } else if (auto* material = dynamic_cast<StdMat*>(&object)) {
            OnlySettings(settings, where, {"diffuse", "diffuseMapOn"});
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
                material->EnableMap(
                    ID_DI, ReadBool(settings["diffuseMapOn"], where + "/diffuseMapOn") ? TRUE : FALSE);
        } else {
            return false;
        }
        return true;
    }

    // A slot takes only the kind of object it holds: its owner would use any other object as that kind.
    void CheckKind(ReferenceMaker& owner, int ref, SClass_ID given, const std::string& where,
                   const std::string& slot) const {
        const SClass_ID wanted = owner.ReferenceSuperClassID(ref);
        if (wanted != 0 && given != wanted)
            Fail(where, slot + " holds " + KindName(wanted) + ", the file gives " + KindName(given));
    }

    ReferenceTarget* Resolve(const Json& value, const std::string& where) const {
        const int id = ReadInt(value, where);
        const auto found = objects.find(id);
        if (found == objects.end())
            Fail(where, "no object with ID " + std::to_string(id));
        return found->second.object;
    }

    void Connect(const Json& record, const std::string& where) {
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

    void ReadBlock(const Json& record, const std::string& where, const LoadedObject& loaded) {
        auto* cd = dynamic_cast<ClassDesc2*>(loaded.classDesc);
        if (cd == nullptr)
            Fail(where, "this object's class has no parameter blocks");
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
        for (std::size_t i = 0; i < params.size(); ++i)
            ReadParam(*block, params[i], where + "/params/" + std::to_string(i));
    }

    void ReadParam(IParamBlock2& block, const Json& param, const std::string& where) {
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
                info.SetName(FromUtf8(value.get<std::string>()).c_str());
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

    void ReadKeys(IParamBlock2& block, const ParamDef& def, const Json& keys, const std::string& where) {
        const std::string name =
            "parameter " + std::to_string(def.id) + " (\"" + ToUtf8(def.internalName) + "\")";
        const int type = base_type(def.type);
        const bool number = type == TYPE_FLOAT || type == TYPE_INT || type == TYPE_BOOL;
        if ((def.flags & P_ANIMATABLE) == 0 || !number || is_tab(def.type))
            Fail(where, name + " is not animatable: it holds one value for all time");
        if (!keys.is_array() || keys.empty())
            Fail(where, "expected an array of [time, value] keys");
        KeyTrack track;
        for (std::size_t i = 0; i < keys.size(); ++i) {
            const std::string at = where + "/" + std::to_string(i);
            const Json& key = keys[i];
            if (!key.is_array() || key.size() != 2)
                Fail(at, "expected a key: [time in ticks, value]");
            const TimeValue time = ReadInt(key[0], at + "/0");
            if (!track.empty() && time <= track.back().time)
                Fail(at + "/0", "key times must rise: " + std::to_string(time) + " follows " +
                                    std::to_string(track.back().time));
            const Json& value = key[1];
            float keyValue = 0.0f;
            if (type == TYPE_FLOAT)
                keyValue = ReadFloat(value, at + "/1");
            else if (type == TYPE_BOOL && value.is_boolean())
                keyValue = value.get<bool>() ? 1.0f : 0.0f;
            else
                keyValue = static_cast<float>(ReadInt(value, at + "/1"));
            track.push_back(TrackKey{time, keyValue});
        }
        block.SetKeys(def.id, track);
    }

    std::string origin;
    const PluginManager& plugins;
    const ModelImportOptions& models;
    std::map<int, LoadedObject> objects;
};

} // namespace

Json ParseSceneText(const std::string& text, const std::string& origin) {
    try {
        return Json::parse(text);
    } catch (const Json::exception& e) {
        // A syntax error's message names the line and column. A number beyond the range of a double is
        // refused by the parser too (as out of range rather than as a parse error): the file is just as
        // malformed.
        std::string message = e.what();
        const std::size_t detail = message.find("] ");
        message = detail == std::string::npos ? message : message.substr(detail + 2);
        throw SceneError(origin + ": not valid JSON: " + message);
    }
}

std::unique_ptr<SceneRoot> SceneFromDocument(const Json& document, const std::string& origin,
                                             const PluginManager& plugins, const SceneAdditions& additions,
                                             const ModelImportOptions& models) {
    return SceneReader(origin, plugins, models).Read(document, additions);
}

std::unique_ptr<SceneRoot> SceneFromJson(const std::string& text, const std::string& origin,
                                         const PluginManager& plugins) {
    return SceneFromDocument(ParseSceneText(text, origin), origin, plugins);
}

namespace {

// Reads to the end, refusing more than `maxBytes`. A stream (a device, a pipe) that does not start as a
// scene's one JSON object, such as a device of zeros or of noise, is refused at its first bytes rather than
// read on to the limit; a file keeps its parse error's line and column.
std::string ReadBounded(std::istream& in, const std::string& name, std::uint64_t maxBytes, bool stream) {
    std::string text;
    char chunk[1 << 16];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        const std::string_view read(chunk, static_cast<std::size_t>(in.gcount()));
        if (stream && text.empty()) {
            const std::size_t first = read.find_first_not_of(" \t\r\n");
            if (first != std::string_view::npos && read[first] != '{' &&
                read.substr(first, 3) != "\xef\xbb\xbf")
                throw SceneError(name + ": not a scene file: it does not start with a JSON object");
        }
        text.append(read);
        if (text.size() > maxBytes)
            throw SceneError(name + ": not a scene file: it holds more than " + ByteAmount(maxBytes));
    }
    if (in.bad())
        throw SceneError(name + ": cannot read the scene file");
    return text;
}

} // namespace

std::string ReadSceneText(std::istream& in, const std::string& name, std::uint64_t maxBytes) {
    return ReadBounded(in, name, maxBytes, true);
}

std::string ReadSceneFile(const std::filesystem::path& file, std::uint64_t maxBytes) {
    if (file == std::filesystem::path("-"))
        return ReadSceneText(std::cin, "standard input", maxBytes);
    const std::string name = file.string();
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(file, error);
    if (std::filesystem::is_directory(status))
        throw SceneError(name + ": cannot open the scene file: it is a directory");
    // A file says its size: one too large is refused before a byte is read.
    const bool regular = std::filesystem::is_regular_file(status);
    if (regular && std::filesystem::file_size(file, error) > maxBytes && !error)
        throw SceneError(name + ": not a scene file: it holds more than " + ByteAmount(maxBytes));
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw SceneError(name + ": cannot open the scene file");
    return ReadBounded(in, name, maxBytes, !regular);
}

std::unique_ptr<SceneRoot> LoadScene(const std::filesystem::path& file, const PluginManager& plugins) {
    return SceneFromJson(ReadSceneFile(file), file.string(), plugins);
}

} // namespace host
