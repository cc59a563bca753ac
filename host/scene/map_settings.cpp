#include "host/scene/map_settings.h"

#include "host/base/text.h"
#include "host/scene/scene_maps.h"
#include "host/scene/scene_paths.h"

#include "hostsdk/bitmap.h"
#include "hostsdk/core_interface.h"
#include "hostsdk/tex_gen.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace host {

namespace {

constexpr int kCoordsRef = 1;

bool SameText(const std::string& a, const char* b) {
    const std::string other = b;
    return std::equal(a.begin(), a.end(), other.begin(), other.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

// An integer member, or `fallback` when the member is missing or no integer.
int IntMember(const Json& object, const char* name, int fallback) {
    if (!object.is_object() || !object.contains(name) || !object[name].is_number_integer())
        return fallback;
    return object[name].get<int>();
}

bool IsClass(const Json& record, SClass_ID superClass, const Class_ID& classId) {
    if (!record.is_object() || !record.contains("superClass") || !record.contains("class"))
        return false;
    const Json& words = record["class"];
    if (!words.is_array() || words.size() != 2)
        return false;
    const std::optional<ULONG> s = ReadWord(record["superClass"]);
    const std::optional<ULONG> a = ReadWord(words[0]);
    const std::optional<ULONG> b = ReadWord(words[1]);
    return s && a && b && *s == superClass && Class_ID(*a, *b) == classId;
}

// Block 0 of the record's parameter blocks, added when missing; null when the record's blocks are malformed.
Json* MainBlock(Json& record) {
    if (!record.contains("paramBlocks"))
        record["paramBlocks"] = Json::array();
    Json& blocks = record["paramBlocks"];
    if (!blocks.is_array())
        return nullptr;
    for (Json& block : blocks)
        if (IntMember(block, "block", -1) == 0) {
            if (!block.contains("params"))
                block["params"] = Json::array();
            return block["params"].is_array() ? &block : nullptr;
        }
    blocks.push_back(Json{{"ref", 0}, {"block", 0}, {"params", Json::array()}});
    return &blocks.back();
}

Json* FindParam(Json& block, int id) {
    for (Json& param : block["params"])
        if (param.is_object() && param.contains("id") && param["id"] == id)
            return &param;
    return nullptr;
}

void SetParam(Json& block, int id, const char* type, Json value) {
    Json entry{{"id", id}, {"type", type}, {"value", std::move(value)}};
    if (Json* existing = FindParam(block, id))
        *existing = std::move(entry);
    else
        block["params"].push_back(std::move(entry));
}

int HighestId(const Json& objects) {
    int highest = 0;
    for (const Json& record : objects)
        if (record.is_object() && record.contains("id") && record["id"].is_number_integer())
            highest = std::max(highest, record["id"].get<int>());
    return highest;
}

// Points the map's coordinates at the explicit map channel, giving it a coordinates object if it has none.
void UseMapChannelCoords(Json& objects, Json& record) {
    if (!record.contains("references"))
        record["references"] = Json::array();
    Json& references = record["references"];
    if (!references.is_array())
        return;
    for (const Json& reference : references) {
        if (IntMember(reference, "ref", -1) != kCoordsRef || !reference.contains("object"))
            continue;
        for (Json& target : objects)
            if (target.is_object() && target.contains("id") && target["id"] == reference["object"] &&
                IsClass(target, XYZGEN_CLASS_ID, STDXYZGEN_CLASS_ID)) {
                if (!target.contains("settings") || !target["settings"].is_object())
                    target["settings"] = Json::object();
                target["settings"]["coordSystem"] = UVW_COORDS;
            }
        return;
    }
    const int id = HighestId(objects) + 1;
    objects.push_back(
        Json{{"id", id},
             {"superClass", HexWord(XYZGEN_CLASS_ID)},
             {"class", {HexWord(STDXYZGEN_CLASS_ID.PartA()), HexWord(STDXYZGEN_CLASS_ID.PartB())}},
             {"settings", {{"coordSystem", UVW_COORDS}}}});
    references.push_back(Json{{"ref", kCoordsRef}, {"object", id}});
}

} // namespace

const std::vector<MapMode>& MapModes() {
    static const std::vector<MapMode> modes(std::begin(distribution::kModeTable),
                                            std::end(distribution::kModeTable));
    return modes;
}

const MapMode* FindMapMode(const std::string& label) {
    for (const MapMode& mode : MapModes())
        if (SameText(label, mode.label))
            return &mode;
    return nullptr;
}

std::string MapModeLabels() {
    std::string labels;
    for (const MapMode& mode : MapModes())
        labels += (labels.empty() ? "\"" : ", \"") + std::string(mode.label) + "\"";
    return labels;
}

int ApplyMapSettings(Json& document, const MapSettings& settings,
                     const std::function<std::string()>& defaultBitmap) {
    if (!document.is_object() || !document.contains("objects") || !document["objects"].is_array())
        return 0;
    Json& objects = document["objects"];
    std::optional<std::string> fallback;
    // Records may be appended below, so the maps are listed by position first.
    std::vector<std::size_t> maps;
    for (std::size_t i = 0; i < objects.size(); ++i)
        if (IsClass(objects[i], TEXMAP_CLASS_ID, CHROMASIFT_CLASS_ID))
            maps.push_back(i);
    int configured = 0;
    for (std::size_t index : maps) {
        Json* block = MainBlock(objects[index]);
        if (block == nullptr)
            continue;
        // An entry without a value (keys on the picture, which does not animate, or nothing at all) stays
        // for the loader to refuse: replaced, it would load without a word.
        const Json* bitmap = FindParam(*block, pb_bitmap);
        if (bitmap == nullptr || bitmap->contains("value")) {
            if (settings.bitmap) {
                // Named from the working folder, where the loader reads a scene's own from the scene's.
                SetParam(*block, pb_bitmap, "bitmap", WorkingFolderPath(*settings.bitmap));
            } else if (bitmap == nullptr || (*bitmap)["value"].is_null()) {
                if (!fallback)
                    fallback = defaultBitmap();
                SetParam(*block, pb_bitmap, "bitmap", WorkingFolderPath(*fallback));
            }
        }
        if (settings.colours)
            SetParam(*block, pb_num_colors, "int", *settings.colours);
        if (settings.skip)
            SetParam(*block, pb_skip_colors, "int", *settings.skip);
        if (settings.gamma)
            SetParam(*block, pb_gamma, "float", *settings.gamma);
        if (settings.hue)
            SetParam(*block, pb_hue_alteration, "int", *settings.hue);
        if (settings.saturation)
            SetParam(*block, pb_saturation_alteration, "int", *settings.saturation);
        if (settings.value)
            SetParam(*block, pb_value_alteration, "int", *settings.value);
        if (settings.mode) {
            if (const MapMode* mode = distribution::FindMode(*settings.mode)) {
                const auto category = static_cast<std::size_t>(mode->category);
                SetParam(*block, pb_mapping_old, "int", static_cast<int>(mode->combined));
                SetParam(*block, pb_mapping, "int", static_cast<int>(category));
                SetParam(*block, kSubModeParams[category], "int", mode->subMode);
                // A current map: the post-load upgrade leaves these settings alone.
                SetParam(*block, pb_version, "int", kCurrentVersion);
                if (mode->combined == distribution::kTiles)
                    UseMapChannelCoords(objects, objects[index]);
            }
        }
        ++configured;
    }
    return configured;
}

std::set<int> DocumentMapModes(Json& document) {
    std::set<int> modes;
    if (!document.contains("objects") || !document["objects"].is_array())
        return modes;
    for (Json& record : document["objects"]) {
        if (!IsClass(record, TEXMAP_CLASS_ID, CHROMASIFT_CLASS_ID))
            continue;
        Json* block = MainBlock(record);
        const Json* param = block != nullptr ? FindParam(*block, pb_mapping_old) : nullptr;
        if (param == nullptr || !param->is_object()) {
            modes.insert(0); // the parameter's default
            continue;
        }
        if (param->contains("keys") && (*param)["keys"].is_array()) {
            for (const Json& key : (*param)["keys"])
                if (key.is_array() && key.size() == 2 && key[1].is_number_integer())
                    modes.insert(key[1].get<int>());
        } else {
            modes.insert(IntMember(*param, "value", 0));
        }
    }
    return modes;
}

std::vector<Texmap*> ChromasiftMaps(SceneRoot& scene) {
    std::vector<Texmap*> maps = SceneMaps(scene);
    std::erase_if(maps, [](Texmap* map) { return map->ClassID() != CHROMASIFT_CLASS_ID; });
    return maps;
}

std::optional<MapPalette> LoadedMapPalette(SceneRoot& scene) {
    const TimeValue slider = GetCOREInterface()->GetTime();
    for (Texmap* map : ChromasiftMaps(scene)) {
        auto* block = dynamic_cast<IParamBlock2*>(map->GetReference(0));
        PBBitmap* bitmap = block == nullptr ? nullptr : block->GetBitmap(pb_bitmap, 0);
        if (bitmap == nullptr)
            continue;
        MapPalette palette;
        palette.bitmap = ToUtf8(bitmap->bi.Name());
        palette.colours = block->GetInt(pb_num_colors, 0);
        palette.skip = block->GetInt(pb_skip_colors, 0);
        // Loading extracts (switching "Is harmonized" off at the slider) and harmonises again (on) when the
        // map was harmonised, so the switch at the slider tells.
        if (block->GetInt(pb_is_harmonized, slider) == 1)
            palette.harmony = block->GetInt(pb_harmony, slider);
        return palette;
    }
    return std::nullopt;
}

MapModeSwitch::MapModeSwitch(SceneRoot& scene) {
    for (Texmap* map : ChromasiftMaps(scene)) {
        auto* block = dynamic_cast<IParamBlock2*>(map->GetReference(0));
        if (block == nullptr)
            continue;
        auto* coords = dynamic_cast<StdXYZGen*>(map->GetReference(kCoordsRef));
        maps.push_back({block, coords, coords != nullptr ? coords->GetCoordSystem() : 0});
    }
}

void MapModeSwitch::Set(const MapMode& mode) {
    for (const LiveMap& map : maps) {
        // A cell shows its mode whatever the scene keys: the keys go and the mode holds for all time.
        const auto hold = [&map](ParamID id, int value) {
            map.block->SetKeys(id, {});
            map.block->SetValue(id, 0, value);
        };
        const auto category = static_cast<std::size_t>(mode.category);
        hold(pb_mapping_old, mode.combined);
        hold(pb_mapping, static_cast<int>(category));
        hold(kSubModeParams[category], mode.subMode);
        if (map.coords != nullptr)
            map.coords->SetCoordSystem(mode.combined == distribution::kTiles ? UVW_COORDS : map.coordSystem);
    }
}

} // namespace host
