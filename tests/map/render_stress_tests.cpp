// Renders on several threads while the user rebuilds the palette of the same map: every sample must be a
// colour of some complete palette, whichever renders were told they started, and the sanitizer builds must
// find no race (parameters included) and no read of a freed palette.
#include "map_test_support.h"
#include "scripted_shade_context.h"
#include "test_maps.h"
#include "test_meshes.h"

#include "hostsdk/tri_object.h"
#include "palette/colour_adjust.h"
#include "plugin/param_ids.h"
#include "shade/distribution_mode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <set>
#include <thread>
#include <tuple>
#include <vector>

namespace {

// The colours a palette's entries shade to under the map's current adjustment, exactly as EvalColor
// computes them.
using ColourKey = std::tuple<float, float, float>;
std::set<ColourKey> ShadedColours(const Chromasift& map, const std::vector<Palette>& palettes) {
    const ColourAdjustment adjustment{
        map.pblock->GetFloat(pb_gamma, 0), map.pblock->GetInt(pb_hue_alteration, 0),
        map.pblock->GetInt(pb_saturation_alteration, 0), map.pblock->GetInt(pb_value_alteration, 0)};
    std::set<ColourKey> colours;
    for (const Palette& palette : palettes)
        for (const PaletteEntry& entry : palette) {
            const AColor c = AdjustPaletteColour(entry, adjustment);
            colours.emplace(c.r, c.g, c.b);
        }
    return colours;
}

// Shades on `threads` threads, at least 500 samples each, until `drive` returns: `aim` sets each sample's
// context from its number and its thread's. Returns how many samples shaded a colour not in `known`.
template <class Aim, class Drive>
int ShadeWhile(Chromasift& map, const std::set<ColourKey>& known, int threads, Aim aim, Drive drive) {
    std::atomic<bool> driving{true};
    std::atomic<int> wrong{0};
    std::vector<std::thread> shaders;
    for (int t = 0; t < threads; ++t)
        shaders.emplace_back([&, t] {
            ScriptedShadeContext sc;
            for (long count = 0; driving.load() || count < 500; ++count) {
                aim(sc, count, t);
                const AColor c = map.EvalColor(sc);
                if (!known.contains({c.r, c.g, c.b}))
                    wrong.fetch_add(1);
            }
        });
    drive();
    driving.store(false);
    for (std::thread& shader : shaders)
        shader.join();
    return wrong.load();
}

// An input map whose evaluation the test holds: a sample in "Input map" mode has taken its palette
// snapshot when it asks its input map, and uses the snapshot after the answer.
class GateMap : public ConstantMap {
public:
    float EvalMono(ShadeContext&) override {
        entered.set_value();
        leave.get_future().wait();
        return 0.55f;
    }
    std::promise<void> entered, leave;
};

// An input map that gives up its thread before answering, so that edits and render starts fall between a
// sample's taking its palette snapshot and its reading it.
class YieldingMap : public ConstantMap {
public:
    float EvalMono(ShadeContext& sc) override {
        std::this_thread::yield();
        return sc.UVW(1).x;
    }
};

Palette Greys(int count, int shift) {
    Palette palette;
    for (int i = 0; i < count; ++i) {
        const auto level = static_cast<uint16_t>(1000 * (10 * shift + i) + 500);
        palette.push_back(PaletteEntry{level, level, level, 65535});
    }
    return palette;
}

// A material-editor preview is told nothing when a render starts: a sample it is shading keeps the palette
// it began with while a render starts and the user edits the palette twice.
TEST(RenderStress, ASampleKeepsItsPaletteWhileARenderStartsAndThePaletteChanges) {
    MapPtr map = NewMap();
    map->SetPalette(Greys(8, 0));
    map->PrepareForRender();
    map->pblock->SetValue(pb_num_colors, 0, 8);
    map->pblock->SetValue(pb_mapping_old, 0, static_cast<int>(distribution::kInputMap));
    auto* gate = new GateMap();
    map->SetSubTexmap(Chromasift::kSubMapInput, gate);
    const std::set<ColourKey> before = ShadedColours(*map, {*map->GetPalette()});

    AColor colour;
    std::thread preview([&] {
        ScriptedShadeContext sc;
        colour = map->EvalColor(sc);
    });
    const bool entered =
        gate->entered.get_future().wait_for(std::chrono::seconds(60)) == std::future_status::ready;
    if (entered) {
        map->SetPalette(Greys(8, 1));
        BroadcastNotification(NOTIFY_PRE_RENDER);
        // Allocated where the palette the sample reads lay, were that freed.
        map->SetPalette(Greys(8, 2));
    }
    gate->leave.set_value();
    preview.join();
    ASSERT_TRUE(entered) << "the sample never asked its input map";
    EXPECT_TRUE(before.contains({colour.r, colour.g, colour.b}))
        << "the sample shaded " << colour.r << " " << colour.g << " " << colour.b
        << ", not a colour of the palette it started with";
}

// One step of what a user does to the palette, the same in every run: extraction now and then, sorts,
// harmonies and reorders between.
void EditStep(Chromasift& map, int round) {
    if (round % 40 == 0) {
        map.pblock->SetValue(pb_num_colors, 0, 4 + (round / 40) % 8);
        BitmapInfo info;
        info.SetName(TestImage(round % 80 == 0 ? "chicky_512.png" : "FreshFlower.jpg").c_str());
        const Chromasift::ColourCounts counts = map.ReadColourCounts();
        map.ExtractPalette(info, counts.numColours, counts.skipColours);
    } else if (round % 4 == 1) {
        map.pblock->SetValue(pb_sort, 0, round % 5);
        map.AutoSortPalette();
    } else if (round % 4 == 2) {
        map.pblock->SetValue(pb_harmony, 0, round % 8);
        map.HarmonisePalette();
    } else {
        // The reorder dialog hands back the entries in their new order.
        Palette reordered = *map.GetPalette();
        std::rotate(reordered.begin(), reordered.begin() + 1, reordered.end());
        map.SetPalette(std::move(reordered));
    }
}

// Several renders at once, some started with the pre-render notification and some (previews) not, while
// the user edits the palette: no sample may read a palette that was freed, and every sample shades a
// colour of some palette the map held.
TEST(RenderStress, OverlappingRendersNeverReadAFreedPalette) {
    constexpr int kRounds = 240;
    std::vector<Palette> palettes;
    MapPtr map = NewMap();
    {
        MapPtr rehearsal = NewMap();
        for (int round = 0; round < kRounds; ++round) {
            EditStep(*rehearsal, round);
            palettes.push_back(*rehearsal->GetPalette());
        }
    }
    const std::set<ColourKey> known = ShadedColours(*map, palettes);
    map->SetSubTexmap(Chromasift::kSubMapInput, new YieldingMap());
    EditStep(*map, 0);
    BroadcastNotification(NOTIFY_PRE_RENDER);

    // Modes that read the palette, the library's random stream and the keyed draws of a render.
    const int modes[] = {distribution::kInputMap,    distribution::kLinear,       distribution::kMirror,
                         distribution::kMapping1D,   distribution::kObjectLinear, distribution::kRandom,
                         distribution::kObjectRandom};
    const auto aim = [](ScriptedShadeContext& sc, long count, int t) {
        sc.nodeId = static_cast<int>((count + t) % 13);
        sc.uvw = Point3(static_cast<float>(count % 97) / 97.0f, 0.0f, 0.0f);
        sc.position = sc.uvw;
    };
    const auto edit = [&] {
        for (int round = 1; round < kRounds; ++round) {
            map->pblock->SetValue(pb_mapping_old, 0, modes[round % 7]);
            EditStep(*map, round);
            // Every other edit, another render starts.
            if (round % 2 == 0)
                BroadcastNotification(NOTIFY_PRE_RENDER);
        }
    };
    EXPECT_EQ(ShadeWhile(*map, known, 4, aim, edit), 0);
    EXPECT_EQ(map->WaitingShadingStates(), 0u) << "the last samples to end freed what they held back";
}

// Previews shading in the modes that build per-render tables (keyed draws, element lists, numbered
// meshes) while renders keep starting: a render start gives the next samples new tables, and a sample
// that was not told keeps the ones it is reading. The sanitizer builds see any read of freed tables.
TEST(RenderStress, PreviewsKeepTheirShadingTablesWhileRendersStart) {
    MapPtr map = NewMap();
    map->SetPalette(Greys(8, 0));
    map->pblock->SetValue(pb_num_colors, 0, 8);
    const std::set<ColourKey> known = ShadedColours(*map, {*map->GetPalette()});

    // Ten boxes, so that each element list and numbered mesh takes a while to build.
    auto* object = new TriObject();
    for (int box = 0; box < 10; ++box)
        AddBox(object->GetMesh(), 2.0f * static_cast<float>(box));
    INode node;
    node.SetObjectRef(object);
    OneInstance context;
    context.instance.mesh = &object->GetMesh();
    context.instance.SetEvalObject(object);

    const distribution::Mode modes[] = {distribution::kObjectRandom, distribution::kBerconRandom,
                                        distribution::kPerElement, distribution::kPerFace};
    const auto aim = [&](ScriptedShadeContext& sc, long count, int t) {
        sc.node = &node;
        sc.object = object;
        sc.globContext = &context;
        // Many keys a render, so that the keyed-draw table grows while others read it.
        sc.nodeId = static_cast<int>(count % 1000);
        sc.uvw99 = Point3(static_cast<float>(count % 1000) + 0.5f, 0.0f, 0.0f);
        sc.face = static_cast<int>((count + t) % 120);
    };
    const auto startRenders = [&] {
        for (int start = 0; start < 400; ++start) {
            map->pblock->SetValue(pb_mapping_old, 0, static_cast<int>(modes[start / 4 % 4]));
            BroadcastNotification(NOTIFY_PRE_RENDER);
            std::this_thread::yield();
        }
    };
    EXPECT_EQ(ShadeWhile(*map, known, 3, aim, startRenders), 0);
    EXPECT_EQ(map->WaitingShadingStates(), 0u) << "the previews that ended freed the tables they held back";
}

} // namespace
