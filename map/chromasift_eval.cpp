// Colour assignment: every shaded sample receives one palette colour, chosen by the distribution mode.
// Called concurrently from the render threads, millions of times a frame: a sample takes the parameters
// as settings read once for every sample alike (map/shade_settings.h), runs its mode and looks its colour
// up among the palette's colours under those settings.
#include "map/chromasift.h"

#include "shade/distribution_mode.h"
#include "shade/mesh_numbering.h"
#include "shade/mode_index.h"
#include "shade/pixel_random.h"

#include <atomic>
#include <new>
#include <typeinfo>

namespace {

using enum distribution::Mode;

[[gnu::always_inline]] inline IInstanceInfo* InstanceInfo(Object* object) {
    return object == nullptr ? nullptr
                             : dynamic_cast<IInstanceInfo*>(object->GetInterface(IINSTANCEINFO_INTERFACE_ID));
}

// Room for a coordinate generator's point and derivative, which it writes whole, so they are not zeroed
// first: bytes hold a Point3 without its constructor running, since its copies are trivial.
struct PointRoom {
    alignas(Point3) unsigned char bytes[2][sizeof(Point3)];
    Point3& operator[](int i) { return *std::launder(reinterpret_cast<Point3*>(bytes[i])); }
};

// The sample's point, written into the room: from the map's coordinate generator, from map channel 1
// without one.
[[gnu::always_inline]] inline const Point3& CoordinatePoint(ShadeContext& sc, XYZGen* coords,
                                                            PointRoom& room) {
    if (coords == nullptr)
        room[0] = sc.UVW(1);
    else
        coords->GetXYZ(sc, room[0], room[1]);
    return room[0];
}

// The context cast dynamically to V-Ray's interface. The cast's answer depends only on the context's
// dynamic type and on which of its parts the context is. Contexts of the type last found to be V-Ray's own
// whose ShadeContext part starts the object, as it did then (two parts of one object never share an
// address), are that same part: they take the answer without the cast.
VUtils::VRayInterface* VRayContext(ShadeContext& sc) {
    constinit static std::atomic<const std::type_info*> vrayType{nullptr};
    const std::type_info& type = typeid(sc);
    const std::type_info* known = vrayType.load(std::memory_order_relaxed);
    const bool first = dynamic_cast<void*>(&sc) == static_cast<void*>(&sc);
    if (known != nullptr && type == *known && first) [[likely]]
        return static_cast<VUtils::VRayInterface*>(&sc);
    auto* vray = dynamic_cast<VUtils::VRayInterface*>(&sc);
    if (vray != nullptr && first && static_cast<ShadeContext*>(vray) == &sc)
        vrayType.store(&type, std::memory_order_relaxed);
    return vray;
}

} // namespace

[[gnu::cold]] std::uint32_t Chromasift::KeyedRandomIndex(const ShadingTables& tables, std::int32_t key,
                                                         std::uint32_t multiplier, std::uint32_t n) {
    // A key is drawn once per render: later samples of it only look it up.
    auto& indices = *tables.keyedIndices;
    if (const std::int32_t* index = indices.Find(key))
        return static_cast<std::uint32_t>(*index);
    std::lock_guard<std::mutex> guard(*drawLock);
    if (const std::int32_t* index = indices.Find(key))
        return static_cast<std::uint32_t>(*index);
    const auto index = static_cast<std::int32_t>(keyedRandom.Draw(key, multiplier) % n);
    return static_cast<std::uint32_t>(indices.Insert(key, index));
}

[[gnu::cold]] const FaceElementList* Chromasift::ElementList(const ShadingTables& tables, Object* object,
                                                             INode* node) {
    auto& lists = *tables.elementLists;
    if (const auto* list = lists.Find(object))
        return list->get();
    std::lock_guard<std::mutex> guard(*meshCacheLock);
    if (const auto* list = lists.Find(object))
        return list->get();
    auto* geometry = dynamic_cast<GeomObject*>(object);
    if (geometry == nullptr || !object->IsRenderable())
        return nullptr;
    NullView view;
    BOOL needDelete = FALSE;
    Mesh* mesh = geometry->GetRenderMesh(0, node, view, needDelete);
    if (mesh == nullptr)
        return nullptr;
    AdjEdgeList edges(*mesh);
    AdjFaceList faces(*mesh, edges);
    auto list = std::make_unique<FaceElementList>(*mesh, faces);
    if (needDelete)
        delete mesh;
    return lists.Insert(object, std::move(list)).get();
}

const Mesh* Chromasift::PolygonMesh(const ShadingTables& tables, Object* object,
                                    RenderGlobalContext* context) {
    auto& meshes = *tables.polygonMeshes;
    if (const auto* numbered = meshes.Find(object))
        return numbered->get();
    std::lock_guard<std::mutex> guard(*meshCacheLock);
    if (const auto* numbered = meshes.Find(object))
        return numbered->get();
    if (context == nullptr)
        return nullptr;
    RenderInstance* instance = tables.instances->FirstFor(*context, object);
    if (instance == nullptr || instance->mesh == nullptr)
        return nullptr;
    return meshes.Insert(object, NumberPolygonsForShading(*instance->mesh)).get();
}

[[gnu::cold, gnu::noinline]] void Chromasift::ResettleShading() {
    shading.Replace([this](const ShadingState& now) {
        // The count before the values, so that a change made while they are read is seen by the next sample.
        const std::uint64_t changes = blockChanges.Count();
        ShadeSettings settings =
            ReadShadeSettings(pblock, changes, GetCOREInterface()->GetTime(), now.palette, now.settings);
        return ShadingState{now.palette, now.tables, std::move(settings)};
    });
}

AColor Chromasift::EvalColor(ShadeContext& sc) {
    AColor colour;
    for (bool stale = false;; stale = true) {
        if (stale)
            ResettleShading();
        // One snapshot for the whole evaluation, pinned until the colour is taken: a palette rebuilt
        // meanwhile is seen by the next sample, and the one read here is not freed under it.
        const PalettePin state = GetPalette();
        const ShadeSettings& s = state.Settings();
        if (!s.Current(blockChanges.Count(), [] { return GetCOREInterface()->GetTime(); })) [[unlikely]]
            continue;
        // Found without a call once drawn or built; the map's own functions draw and build.
        const auto keyed = [this, &s](const ShadingTables& tables, std::int32_t key,
                                      std::uint32_t multiplier) {
            const std::int32_t* found = tables.keyedIndices->Find(key);
            const std::uint32_t index = found != nullptr ? static_cast<std::uint32_t>(*found)
                                                         : KeyedRandomIndex(tables, key, multiplier, s.n);
            // An index drawn under a larger palette falls back to the first entry.
            return index < s.entries ? index : 0;
        };
        const auto instanceValues = [&sc](IInstanceInfo& info) {
            std::pair<float, float> values{0.0f, 0.0f};
            info.GetInstanceValues(sc, values.first, values.second);
            return values;
        };
        // The index of the colour in s.colours; s.entries (black) when the mode selects nothing.
        std::uint32_t index = 0;
        switch (s.route) {
        case kRandom:
            index = mode_index::Random(LibraryPixelRandom().Next(), s.n);
            break;
        case kLinear:
            index = mode_index::Linear(sampleCounter.fetch_add(1), s.n);
            break;
        case kMirror:
            index = mode_index::Mirror(sampleCounter.fetch_add(1), s.n);
            break;
        case kMapping1D: {
            PointRoom room;
            const Point3& p = CoordinatePoint(sc, coords, room);
            index = mode_index::Mapping1D(p.x, s.n);
            break;
        }
        case kMapping2D: {
            PointRoom room;
            const Point3& p = CoordinatePoint(sc, coords, room);
            index = mode_index::Mapping2D(p.x, p.y, s.squareSide, s.n);
            break;
        }
        case kMapping3D: {
            PointRoom room;
            const Point3& p = CoordinatePoint(sc, coords, room);
            index = mode_index::Mapping3D(p.x, p.y, p.z, s.cubeSide, s.n);
            break;
        }
        case kTiles: {
            PointRoom room;
            const Point3& p = CoordinatePoint(sc, coords, room);
            index = mode_index::Tiles(p.x, p.y, s.tileRows, s.tileColumns, s.n);
            break;
        }
        // Another map's values: the input map's mono value, the tile number a BerconTile map writes into
        // map channel 99.
        case kInputMap:
            index = mode_index::InputMap(s.input != nullptr ? s.input->EvalMono(sc) : 0.0f, s.n);
            break;
        case kBerconLinear:
            index = mode_index::BerconTileLinear(sc.UVW(99).x, s.n);
            break;
        case kBerconRandom:
            index = keyed(state.Tables(), mode_index::BerconTileKey(sc.UVW(99).x), kKeyMultiplier);
            break;
        // Objects: from an outside instancing plug-in's values, else the node's number (a random pick for
        // node -1 selects nothing).
        case kObjectLinear:
        case kObjectRandom: {
            const bool random = s.route == kObjectRandom;
            if (IInstanceInfo* info = InstanceInfo(sc.GetEvalObject())) {
                const std::int32_t key = mode_index::InstanceKey(instanceValues(*info).first);
                index = random ? keyed(state.Tables(), key, kKeyMultiplier)
                               : mode_index::UnsignedModulo(key, s.n);
                break;
            }
            const int node = sc.NodeID();
            if (!random)
                index = mode_index::NumberOrZero(node, s.n);
            else
                index = node == -1 ? s.entries : keyed(state.Tables(), node, kNodeKeyMultiplier);
            break;
        }
        case kObjectId: {
            INode* node = sc.Node();
            index = (node == nullptr ? 0u : static_cast<std::uint32_t>(node->GetGBufID())) % s.n;
            break;
        }
        case kMaterialId:
            index = mode_index::NumberOrZero(sc.mtlNum, s.n);
            break;
        // "Per Element": the instance values of an outside instancing plug-in, else the element of the face.
        // Element colours are shown as they are: no adjustment, no output filter.
        case kPerElement: {
            Object* object = sc.GetEvalObject();
            if (IInstanceInfo* info = InstanceInfo(object)) {
                const auto [first, second] = instanceValues(*info);
                return s.plain[mode_index::InstanceElement(first, second, s.n)];
            }
            if (object != nullptr) {
                const ShadingTables& tables = state.Tables();
                const auto* list = tables.elementLists->Find(object);
                const FaceElementList* elements =
                    list != nullptr ? list->get() : ElementList(tables, object, sc.Node());
                const int face = sc.FaceNumber();
                if (elements != nullptr && face >= 0 &&
                    static_cast<std::size_t>(face) < elements->elem.size())
                    return s.plain[(*elements)[face] % s.n];
            }
            return s.plain[0];
        }
        // "Per Face": the polygon of the face, numbered in a copy of the render mesh.
        case kPerFace: {
            Object* object = sc.GetEvalObject();
            const Mesh* numbered = nullptr;
            if (object != nullptr) {
                const ShadingTables& tables = state.Tables();
                const auto* mesh = tables.polygonMeshes->Find(object);
                numbered = mesh != nullptr ? mesh->get() : PolygonMesh(tables, object, sc.globContext);
            }
            const int face = sc.FaceNumber();
            if (numbered != nullptr && face >= 0 && face < numbered->getNumFaces())
                index = keyed(state.Tables(), numbered->getFaceMtlIndex(face), kKeyMultiplier);
            break;
        }
        // The renderer's instance: the instance hit by the ray, in V-Ray's contexts only.
        case kVRayInstance: {
            if (sc.ClassID() != VRAY_SHADE_CONTEXT_CLASS_ID)
                break;
            VUtils::VRayInterface* vray = VRayContext(sc);
            if (vray == nullptr)
                break;
            vray->QueryAuxiliary(VRAY_HIT_INSTANCE_QUERY);
            int instance = 0;
            if (vray->GetHitInstanceNumber(instance))
                index = keyed(state.Tables(), instance, kNodeKeyMultiplier);
            break;
        }
        case ShadeSettings::kUnknownMode:
            index = s.entries;
            break;
        default: // ShadeSettings::kBlank: the one colour, black
            break;
        }
        colour = s.colours[index];
        break;
    }
    return output != nullptr ? output->Filter(colour) : colour;
}

float Chromasift::EvalMono(ShadeContext&) {
    return 0.0f;
}

Point3 Chromasift::EvalNormalPerturb(ShadeContext&) {
    return Point3(0.0f, 0.0f, 0.0f);
}
