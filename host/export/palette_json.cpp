#include "host/export/palette_json.h"

#include <nlohmann/json.hpp>

namespace host {

std::string PaletteJson(const PaletteExport& palette) {
    using Json = nlohmann::ordered_json;
    Json entries = Json::array();
    for (const PaletteEntry& e : palette.palette)
        entries.push_back({{"red", e.red},
                           {"green", e.green},
                           {"blue", e.blue},
                           {"alpha", e.alpha},
                           {"hue", e.hue},
                           {"saturation", e.saturation},
                           {"value", e.value},
                           {"count", e.count},
                           {"sortMode", e.sortMode}});
    Json document = {{"width", palette.imageWidth},      {"height", palette.imageHeight},
                     {"columns", palette.gridColumns},   {"rows", palette.gridRows},
                     {"iterations", palette.iterations}, {"palette", std::move(entries)}};
    return document.dump(2) + "\n";
}

} // namespace host
