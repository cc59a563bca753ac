#pragma once

// The Chromasift map's settings as the render command writes them into a scene document, by the map's own
// parameter IDs, and the distribution modes by their rollout labels.
#include "host/scene/scene.h"
#include "host/scene/scene_json.h"
#include "plugin/param_ids.h"
#include "shade/mode_table.h"

#include "hostsdk/param_block.h"
#include "hostsdk/tex_gen.h"

#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace host {

// One distribution mode: its rollout label, the combined mode number, its category and its position
// within the category, and what its colours follow.
using MapMode = distribution::ModeRow;

// Every mode in rollout order; a label is found whatever its letter case.
const std::vector<MapMode>& MapModes();
const MapMode* FindMapMode(const std::string& label);
// The labels, quoted and separated by commas, for messages.
std::string MapModeLabels();

struct MapSettings {
    std::optional<std::string> bitmap;
    std::optional<int> mode; // combined mode number
    std::optional<int> colours;
    std::optional<int> skip;
    std::optional<float> gamma;
    std::optional<int> hue;
    std::optional<int> saturation;
    std::optional<int> value;
};

// Writes the settings into the parameter block of every Chromasift map of a scene document, as the scene
// file would hold them. A mode sets the combined number, the category and its sub-mode, as the rollout
// does, and "As Tiles" switches the map's coordinates to the explicit map channel. A map left without a
// bitmap gets the file `defaultBitmap` names (called at most once). Records the loader would refuse are
// left for it to report. Returns the number of maps configured.
int ApplyMapSettings(Json& document, const MapSettings& settings,
                     const std::function<std::string()>& defaultBitmap);

// What decides the palette a loaded map holds: its bitmap file and the settings its palette was extracted
// and harmonised with when the scene was loaded.
struct MapPalette {
    std::string bitmap;
    int colours = 10;
    int skip = 0;
    int harmony = -1; // -1: not harmonised; 0 "none" to 7
};

// The palette settings of the scene's first Chromasift map with a bitmap, read from its parameter block
// right after loading, at the times the map read them: the counts at time 0, and the harmony where the
// time slider stood. Nothing when no map has a bitmap.
std::optional<MapPalette> LoadedMapPalette(SceneRoot& scene);

// Every combined mode a Chromasift map of the document holds, set or keyed (0, "Random", where a map leaves
// its mode out).
std::set<int> DocumentMapModes(Json& document);

// The Chromasift maps a loaded scene reaches through its references, each once, in the order they are
// reached.
std::vector<Texmap*> ChromasiftMaps(SceneRoot& scene);

// Switches the loaded Chromasift maps of a scene between distribution modes the way the rollout does, so
// that one loaded scene (whose maps extracted their palettes once) renders in every mode.
class MapModeSwitch {
public:
    // Finds the maps through the scene's references and remembers each one's coordinate system.
    explicit MapModeSwitch(SceneRoot& scene);

    // Writes the combined mode, the category and its sub-mode into every map for all time, dropping keys
    // the scene gave them. "As Tiles" reads the explicit map channel; every other mode the map's own
    // coordinate system.
    void Set(const MapMode& mode);
    int Count() const { return static_cast<int>(maps.size()); }

private:
    struct LiveMap {
        IParamBlock2* block;
        StdXYZGen* coords; // null when the map has none
        int coordSystem;
    };
    std::vector<LiveMap> maps;
};

} // namespace host
