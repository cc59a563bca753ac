// Colour assignment: every shaded sample receives one palette colour, chosen by the distribution mode.
// Called concurrently from the render threads.
#include "map/chromasift.h"

#include "palette/colour_adjust.h"
#include "plugin/param_ids.h"
#include "shade/distribution_mode.h"
#include "shade/mesh_numbering.h"
#include "shade/mode_index.h"
#include "shade/pixel_random.h"

#include <algorithm>

namespace {

using enum distribution::Mode;

// What a mode that selects nothing adjusts: black.
constexpr PaletteEntry kNoEntry{};

AColor EntryColour(const PaletteEntry& entry) {
    return AColor(entry.red / 65535.0f, entry.green / 65535.0f, entry.blue / 65535.0f, 1.0f);
}

IInstanceInfo* InstanceInfo(Object* object) {
    return object == nullptr ? nullptr
                             : dynamic_cast<IInstanceInfo*>(object->GetInterface(IINSTANCEINFO_INTERFACE_ID));
}

// Each family of modes turns a sample into a palette index below `in.n`, the active colour count. `in` holds
// what the modes read besides the shading context (see EvalColor).

// Pixel order: "Random" from the library's stream; "Linear" and "Mirror" from the evaluation counter.
template <class Inputs> int PixelOrderIndex(int mode, const Inputs& in) {
    if (mode == kRandom)
        return static_cast<int>(mode_index::Random(LibraryPixelRandom().Next(), in.n));
    const std::uint32_t count = in.NextCount();
    return static_cast<int>(mode == kLinear ? mode_index::Linear(count, in.n)
                                            : mode_index::Mirror(count, in.n));
}

// Coordinates: "1D", "2D", "3D Mapping" and "As Tiles", at the point of the map's coordinate generator (map
// channel 1 without one).
template <class Inputs> int CoordinateIndex(int mode, ShadeContext& sc, const Inputs& in) {
    Point3 p;
    if (XYZGen* coords = in.Coords()) {
        Point3 dp;
        coords->GetXYZ(sc, p, dp);
    } else {
        p = sc.UVW(1);
    }
    switch (mode) {
    case kMapping1D:
        return static_cast<int>(mode_index::Mapping1D(p.x, in.n));
    case kMapping2D:
        return static_cast<int>(mode_index::Mapping2D(p.x, p.y, in.n));
    case kMapping3D:
        return static_cast<int>(mode_index::Mapping3D(p.x, p.y, p.z, in.n));
    default:
        return static_cast<int>(mode_index::Tiles(p.x, p.y, in.block.GetInt(pb_tile_rows, in.now),
                                                  in.block.GetInt(pb_tile_columns, in.now), in.n));
    }
}

// Another map's values: "Input map" from the input map's mono value, the two "BerconTile" modes from the
// tile number a BerconTile map writes into map channel 99.
template <class Inputs> int InputIndex(int mode, ShadeContext& sc, const Inputs& in) {
    if (mode == kInputMap) {
        Texmap* input = in.block.GetTexmap(pb_input_map, in.now);
        const float value =
            in.block.GetInt(pb_input_map_on, 0) != 0 && input != nullptr ? input->EvalMono(sc) : 0.0f;
        return static_cast<int>(mode_index::InputMap(value, in.n));
    }
    if (mode == kBerconLinear)
        return static_cast<int>(mode_index::BerconTileLinear(sc.UVW(99).x, in.n));
    return static_cast<int>(in.KeyedIndex(mode_index::BerconTileKey(sc.UVW(99).x), kKeyMultiplier));
}

// "Per Element": the instance values of an outside instancing plug-in, else the element of the face.
template <class Inputs> int ElementIndex(ShadeContext& sc, const Inputs& in) {
    Object* object = sc.GetEvalObject();
    std::uint32_t index = 0;
    if (IInstanceInfo* info = InstanceInfo(object)) {
        float first = 0.0f, second = 0.0f;
        info->GetInstanceValues(sc, first, second);
        index = mode_index::InstanceElement(first, second, in.n);
    } else if (object != nullptr) {
        const FaceElementList* list = in.Elements(object, sc.Node());
        const int face = sc.FaceNumber();
        if (list != nullptr && face >= 0 && static_cast<std::size_t>(face) < list->elem.size())
            index = (*list)[face] % in.n;
    }
    return static_cast<int>(index);
}

// "Per Face": the polygon of the face, numbered in a copy of the render mesh.
template <class Inputs> int FaceIndex(ShadeContext& sc, const Inputs& in) {
    Object* object = sc.GetEvalObject();
    const Mesh* numbered = object == nullptr ? nullptr : in.Polygons(object, sc.globContext);
    const int face = sc.FaceNumber();
    if (numbered == nullptr || face < 0 || face >= numbered->getNumFaces())
        return 0;
    return static_cast<int>(in.KeyedIndex(numbered->getFaceMtlIndex(face), kKeyMultiplier));
}

// Objects: "Object (linear)" and "Object (random)" from an outside instancing plug-in's values, else the
// node's number (a random pick for node -1 selects nothing); "Object ID", "Material ID", "Per Element" and
// "Per Face".
template <class Inputs> int ObjectIndex(int mode, ShadeContext& sc, const Inputs& in) {
    switch (mode) {
    case kObjectLinear:
    case kObjectRandom: {
        const bool random = mode == kObjectRandom;
        if (IInstanceInfo* info = InstanceInfo(sc.GetEvalObject())) {
            float first = 0.0f, second = 0.0f;
            info->GetInstanceValues(sc, first, second);
            const std::int32_t key = mode_index::InstanceKey(first);
            return static_cast<int>(random ? in.KeyedIndex(key, kKeyMultiplier)
                                           : mode_index::UnsignedModulo(key, in.n));
        }
        const int node = sc.NodeID();
        if (!random)
            return static_cast<int>(mode_index::NumberOrZero(node, in.n));
        return node == -1 ? -1 : static_cast<int>(in.KeyedIndex(node, kNodeKeyMultiplier));
    }
    case kObjectId: {
        INode* node = sc.Node();
        return static_cast<int>((node == nullptr ? 0u : static_cast<std::uint32_t>(node->GetGBufID())) %
                                in.n);
    }
    case kMaterialId:
        return static_cast<int>(mode_index::NumberOrZero(sc.mtlNum, in.n));
    case kPerElement:
        return ElementIndex(sc, in);
    default:
        return FaceIndex(sc, in);
    }
}

// The renderer's instance: "VRay Instance (rnd)" from the instance hit by the ray, in V-Ray's contexts only.
template <class Inputs> int RendererInstanceIndex(ShadeContext& sc, const Inputs& in) {
    if (sc.ClassID() != VRAY_SHADE_CONTEXT_CLASS_ID)
        return 0;
    auto* vray = dynamic_cast<VUtils::VRayInterface*>(&sc);
    if (vray == nullptr)
        return 0;
    vray->QueryAuxiliary(VRAY_HIT_INSTANCE_QUERY);
    int instance = 0;
    if (!vray->GetHitInstanceNumber(instance))
        return 0;
    return static_cast<int>(in.KeyedIndex(instance, kNodeKeyMultiplier));
}

// The sample's palette index, found by its mode's family; -1 selects nothing (black).
template <class Inputs> int IndexByFamily(int mode, ShadeContext& sc, const Inputs& in) {
    switch (mode) {
    case kRandom:
    case kLinear:
    case kMirror:
        return PixelOrderIndex(mode, in);
    case kMapping1D:
    case kMapping2D:
    case kMapping3D:
    case kTiles:
        return CoordinateIndex(mode, sc, in);
    case kInputMap:
    case kBerconLinear:
    case kBerconRandom:
        return InputIndex(mode, sc, in);
    case kObjectLinear:
    case kObjectRandom:
    case kObjectId:
    case kMaterialId:
    case kPerElement:
    case kPerFace:
        return ObjectIndex(mode, sc, in);
    case kVRayInstance:
        return RendererInstanceIndex(sc, in);
    default:
        return -1;
    }
}

} // namespace

std::uint32_t Chromasift::KeyedRandomIndex(const ShadingTables& tables, std::int32_t key,
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

const FaceElementList* Chromasift::ElementList(const ShadingTables& tables, Object* object, INode* node) {
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

AColor Chromasift::EvalColor(ShadeContext& sc) {
    // One snapshot for the whole evaluation, pinned until it returns: a palette rebuilt meanwhile is seen
    // by the next sample, and the one read here is not freed under it.
    const PalettePin entries = GetPalette();
    IParamBlock2* block = pblock;
    AColor colour(0.0f, 0.0f, 0.0f, 1.0f);
    if (!entries->empty() && block != nullptr) {
        const TimeValue now = GetCOREInterface()->GetTime();
        // Guard: with "# colors" below 1 no colour would be active, and the modes would take a remainder by
        // 0 or pick before the first entry; at least one colour is always active.
        const auto n = static_cast<std::uint32_t>(std::clamp<std::int64_t>(
            block->GetInt(pb_num_colors, now), 1, static_cast<std::int64_t>(entries->size())));
        const int mode = block->GetInt(pb_mapping_old, now);
        // What the families of modes read besides the shading context: the active colour count, the
        // parameters at this time, and the map's counter, coordinate generator and per-render tables.
        struct Inputs {
            Chromasift& map;
            const ShadingTables& tables;
            IParamBlock2& block;
            TimeValue now;
            std::uint32_t n;
            std::uint32_t NextCount() const { return map.sampleCounter.fetch_add(1); }
            XYZGen* Coords() const { return map.coords; }
            // Found without a call once drawn or built; the map's own functions draw and build.
            std::uint32_t KeyedIndex(std::int32_t key, std::uint32_t multiplier) const {
                if (const std::int32_t* index = tables.keyedIndices->Find(key))
                    return static_cast<std::uint32_t>(*index);
                return map.KeyedRandomIndex(tables, key, multiplier, n);
            }
            const FaceElementList* Elements(Object* object, INode* node) const {
                if (const auto* list = tables.elementLists->Find(object))
                    return list->get();
                return map.ElementList(tables, object, node);
            }
            const Mesh* Polygons(Object* object, RenderGlobalContext* context) const {
                if (const auto* numbered = tables.polygonMeshes->Find(object))
                    return numbered->get();
                return map.PolygonMesh(tables, object, context);
            }
        };
        const int selected = IndexByFamily(mode, sc, Inputs{*this, entries.Tables(), *block, now, n});
        // Element colours are shown as they are: no adjustment, no output filter. Their index is always
        // one of the active colours.
        if (mode == kPerElement)
            return EntryColour((*entries)[static_cast<std::size_t>(selected)]);
        // Values beyond the spinners' ranges (scripts, scenes) go through the same formulas.
        const ColourAdjustment adjustment{
            block->GetFloat(pb_gamma, now), block->GetInt(pb_hue_alteration, now),
            block->GetInt(pb_saturation_alteration, now), block->GetInt(pb_value_alteration, now)};
        // An index cached under a larger palette falls back to the first entry; no index leaves black.
        if (selected < 0)
            colour = AdjustPaletteColour(kNoEntry, adjustment);
        else
            colour = entries.Adjusted().Get(
                *entries,
                static_cast<std::size_t>(selected) < entries->size() ? static_cast<std::size_t>(selected) : 0,
                adjustment);
    }
    return output != nullptr ? output->Filter(colour) : colour;
}

float Chromasift::EvalMono(ShadeContext&) {
    return 0.0f;
}

Point3 Chromasift::EvalNormalPerturb(ShadeContext&) {
    return Point3(0.0f, 0.0f, 0.0f);
}
