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

AColor EntryColour(const PaletteEntry& entry) {
    return AColor(entry.red / 65535.0f, entry.green / 65535.0f, entry.blue / 65535.0f, 1.0f);
}

IInstanceInfo* InstanceInfo(Object* object) {
    return object == nullptr ? nullptr
                             : dynamic_cast<IInstanceInfo*>(object->GetInterface(IINSTANCEINFO_INTERFACE_ID));
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
    const ShadingTables& tables = entries.Tables();
    IParamBlock2* block = pblock;
    AColor colour(0.0f, 0.0f, 0.0f, 1.0f);
    if (!entries->empty() && block != nullptr) {
        const TimeValue now = GetCOREInterface()->GetTime();
        const int numColours = block->GetInt(pb_num_colors, now);
        // Guard: with "# colors" below 1 no colour would be active, and the modes would take a remainder by
        // 0 or pick before the first entry; at least one colour is always active.
        const auto n = static_cast<std::uint32_t>(
            std::clamp<std::int64_t>(numColours, 1, static_cast<std::int64_t>(entries->size())));
        // A mode that selects nothing leaves black.
        int selected = -1;
        const int mode = block->GetInt(pb_mapping_old, now);
        switch (mode) {
        case kRandom:
            selected = static_cast<int>(mode_index::Random(LibraryPixelRandom().Next(), n));
            break;
        case kLinear:
            selected = static_cast<int>(mode_index::Linear(sampleCounter.fetch_add(1), n));
            break;
        case kMirror:
            selected = static_cast<int>(mode_index::Mirror(sampleCounter.fetch_add(1), n));
            break;
        case kMapping1D:
        case kMapping2D:
        case kMapping3D:
        case kTiles: {
            Point3 p;
            if (coords != nullptr) {
                Point3 dp;
                coords->GetXYZ(sc, p, dp);
            } else {
                p = sc.UVW(1);
            }
            if (mode == kMapping1D)
                selected = static_cast<int>(mode_index::Mapping1D(p.x, n));
            else if (mode == kMapping2D)
                selected = static_cast<int>(mode_index::Mapping2D(p.x, p.y, n));
            else if (mode == kMapping3D)
                selected = static_cast<int>(mode_index::Mapping3D(p.x, p.y, p.z, n));
            else
                selected = static_cast<int>(mode_index::Tiles(p.x, p.y, block->GetInt(pb_tile_rows, now),
                                                              block->GetInt(pb_tile_columns, now), n));
            break;
        }
        case kInputMap: {
            Texmap* input = block->GetTexmap(pb_input_map, now);
            const float value =
                block->GetInt(pb_input_map_on, 0) != 0 && input != nullptr ? input->EvalMono(sc) : 0.0f;
            selected = static_cast<int>(mode_index::InputMap(value, n));
            break;
        }
        case kBerconLinear:
            selected = static_cast<int>(mode_index::BerconTileLinear(sc.UVW(99).x, n));
            break;
        case kBerconRandom:
            selected = static_cast<int>(
                KeyedRandomIndex(tables, mode_index::BerconTileKey(sc.UVW(99).x), kKeyMultiplier, n));
            break;
        case kObjectLinear:
        case kObjectRandom: {
            const bool random = mode == kObjectRandom;
            if (IInstanceInfo* info = InstanceInfo(sc.GetEvalObject())) {
                float first = 0.0f, second = 0.0f;
                info->GetInstanceValues(sc, first, second);
                const std::int32_t key = mode_index::InstanceKey(first);
                selected = static_cast<int>(random ? KeyedRandomIndex(tables, key, kKeyMultiplier, n)
                                                   : mode_index::UnsignedModulo(key, n));
            } else {
                const int node = sc.NodeID();
                if (!random)
                    selected = static_cast<int>(mode_index::NumberOrZero(node, n));
                else if (node != -1)
                    selected = static_cast<int>(KeyedRandomIndex(tables, node, kNodeKeyMultiplier, n));
            }
            break;
        }
        case kObjectId: {
            INode* node = sc.Node();
            selected =
                static_cast<int>((node == nullptr ? 0u : static_cast<std::uint32_t>(node->GetGBufID())) % n);
            break;
        }
        case kMaterialId:
            selected = static_cast<int>(mode_index::NumberOrZero(sc.mtlNum, n));
            break;
        case kPerElement: {
            // Element colours are shown as they are: no adjustment, no output filter.
            Object* object = sc.GetEvalObject();
            std::uint32_t index = 0;
            if (IInstanceInfo* info = InstanceInfo(object)) {
                float first = 0.0f, second = 0.0f;
                info->GetInstanceValues(sc, first, second);
                index = mode_index::InstanceElement(first, second, n);
            } else if (object != nullptr) {
                const FaceElementList* list = ElementList(tables, object, sc.Node());
                const int face = sc.FaceNumber();
                if (list != nullptr && face >= 0 && static_cast<std::size_t>(face) < list->elem.size())
                    index = (*list)[face] % n;
            }
            return EntryColour((*entries)[index]);
        }
        case kPerFace: {
            selected = 0;
            Object* object = sc.GetEvalObject();
            const Mesh* numbered = object == nullptr ? nullptr : PolygonMesh(tables, object, sc.globContext);
            const int face = sc.FaceNumber();
            if (numbered != nullptr && face >= 0 && face < numbered->getNumFaces())
                selected = static_cast<int>(
                    KeyedRandomIndex(tables, numbered->getFaceMtlIndex(face), kKeyMultiplier, n));
            break;
        }
        case kVRayInstance: {
            selected = 0;
            if (sc.ClassID() == VRAY_SHADE_CONTEXT_CLASS_ID)
                if (auto* vray = dynamic_cast<VUtils::VRayInterface*>(&sc)) {
                    vray->QueryAuxiliary(0xFFFF0002);
                    int instance = 0;
                    if (vray->GetHitInstanceNumber(instance))
                        selected =
                            static_cast<int>(KeyedRandomIndex(tables, instance, kNodeKeyMultiplier, n));
                }
            break;
        }
        default:
            break;
        }
        // An index cached under a larger palette falls back to the first entry.
        PaletteEntry chosen;
        if (selected >= 0)
            chosen = (*entries)[static_cast<std::size_t>(selected) < entries->size()
                                    ? static_cast<std::size_t>(selected)
                                    : 0];
        // Values beyond the spinners' ranges (scripts, scenes) go through the same formulas.
        const ColourAdjustment adjustment{
            block->GetFloat(pb_gamma, now), block->GetInt(pb_hue_alteration, now),
            block->GetInt(pb_saturation_alteration, now), block->GetInt(pb_value_alteration, now)};
        colour = AdjustPaletteColour(chosen, adjustment);
    }
    return output != nullptr ? output->Filter(colour) : colour;
}

float Chromasift::EvalMono(ShadeContext&) {
    return 0.0f;
}

Point3 Chromasift::EvalNormalPerturb(ShadeContext&) {
    return Point3(0.0f, 0.0f, 0.0f);
}
