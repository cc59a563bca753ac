#include "host/job/slider_keys.h"

#include "host/scene/map_settings.h"

#include "hostsdk/anim_time.h"
#include "hostsdk/core_interface.h"
#include "hostsdk/param_block.h"

#include "plugin/param_ids.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace host {

namespace {

// The parameters the map reads at the time slider while the host's renderers and V-Ray render.
const struct {
    ParamID id;
    const char* name;
} kReadAtSlider[] = {
    {pb_num_colors, "\"# colors\""},
    {pb_mapping_old, "the mode"},
    {pb_mapping, "the mode"},
    {pb_pixel_mapping, "the mode"},
    {pb_object_mapping, "the mode"},
    {pb_coord_mapping, "the mode"},
    {pb_input_mapping, "the mode"},
    {pb_gamma, "\"Gamma\""},
    {pb_hue_alteration, "the hue alteration"},
    {pb_saturation_alteration, "the saturation alteration"},
    {pb_value_alteration, "the value alteration"},
    {pb_tile_rows, "\"# of tile rows\""},
    {pb_tile_columns, "\"# of tile columns\""},
};

void AddOnce(std::vector<std::string>& names, const char* name) {
    if (std::find(names.begin(), names.end(), name) == names.end())
        names.push_back(name);
}

bool RangeReadsTheSlider(const RenderOptions& options) {
    return options.frames && options.frames->size() > 1 && options.renderer != RendererKind::MentalRay;
}

std::string Warning(const std::vector<std::string>& keyed, const RenderOptions& options, TimeValue slider) {
    if (keyed.empty())
        return std::string();
    std::string names;
    for (std::size_t i = 0; i < keyed.size(); ++i)
        names += (i == 0 ? "" : i + 1 == keyed.size() ? " and " : ", ") + keyed[i];
    return "the scene's map keys " + names + ", which the " + RendererName(options.renderer) +
           " renderer reads at the time slider; a range does not move the slider, so every frame shows the "
           "value at frame " +
           std::to_string(slider / GetTicksPerFrame()) +
           ": render the frames one by one with --frame, or use --renderer mentalray";
}

// Whether a record of a scene document is a Chromasift map.
bool IsChromasiftRecord(const Json& record) {
    const auto word = [](const Json& value) {
        return value.is_string() ? std::strtoul(value.get<std::string>().c_str(), nullptr, 0) : 0ul;
    };
    return record.is_object() && record.contains("superClass") && record.contains("class") &&
           record["class"].is_array() && record["class"].size() == 2 &&
           word(record["superClass"]) == TEXMAP_CLASS_ID &&
           Class_ID(word(record["class"][0]), word(record["class"][1])) == CHROMASIFT_CLASS_ID;
}

} // namespace

std::string SliderKeysWarning(SceneRoot& scene, const RenderOptions& options) {
    if (!RangeReadsTheSlider(options))
        return std::string();
    std::vector<std::string> keyed;
    for (Texmap* map : ChromasiftMaps(scene))
        if (auto* block = dynamic_cast<IParamBlock2*>(map->GetReference(0)))
            for (const auto& param : kReadAtSlider)
                if (!block->GetKeys(param.id).empty())
                    AddOnce(keyed, param.name);
    return Warning(keyed, options, GetCOREInterface()->GetTime());
}

std::string SliderKeysWarning(const Json& document, const RenderOptions& options) {
    if (!RangeReadsTheSlider(options) || !document.contains("objects") || !document["objects"].is_array())
        return std::string();
    std::vector<std::string> keyed;
    for (const Json& record : document["objects"]) {
        if (!IsChromasiftRecord(record) || !record.contains("paramBlocks") ||
            !record["paramBlocks"].is_array())
            continue;
        for (const Json& block : record["paramBlocks"])
            if (block.is_object() && block.value("block", -1) == 0 && block.contains("params") &&
                block["params"].is_array())
                for (const Json& param : block["params"])
                    for (const auto& known : kReadAtSlider)
                        if (param.is_object() && param.value("id", -1) == static_cast<int>(known.id) &&
                            param.contains("keys"))
                            AddOnce(keyed, known.name);
    }
    const Json* slider = document.contains("sliderTime") ? &document["sliderTime"] : nullptr;
    return Warning(keyed, options, slider != nullptr && slider->is_number_integer() ? slider->get<int>() : 0);
}

} // namespace host
