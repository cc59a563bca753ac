// Renders on several threads while the user rebuilds the palette of the same map: every sample must be a
// colour of some complete palette, and the sanitizer builds must find no race.
#include "map_test_support.h"

#include "plugin/param_ids.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

namespace {

class SampleContext : public ShadeContext {
public:
    int NodeID() override { return nodeId; }
    int FaceNumber() override { return 0; }
    Point3 UVW(int) override { return uvw; }
    Point3 PObj() override { return uvw; }
    int nodeId = 0;
    Point3 uvw;
};

// What the user does between renders and during them: extraction at several counts, sorts, harmonies.
void EditPalette(Chromasift& map, int round, std::vector<Palette>* seen) {
    map.pblock->SetValue(pb_num_colors, 0, 3 + round % 9);
    BitmapInfo info;
    info.SetName(TestImage("chicky_512.png").c_str());
    const Chromasift::ColourCounts counts = map.ReadColourCounts();
    map.ExtractPalette(info, counts.numColours, counts.skipColours);
    if (seen != nullptr)
        seen->push_back(*map.GetPalette());
    map.pblock->SetValue(pb_sort, 0, round % 5);
    map.AutoSortPalette();
    if (seen != nullptr)
        seen->push_back(*map.GetPalette());
    map.pblock->SetValue(pb_harmony, 0, round % 8);
    map.HarmonisePalette();
    if (seen != nullptr)
        seen->push_back(*map.GetPalette());
}

bool IsPaletteColour(const AColor& c, const std::vector<Palette>& palettes) {
    for (const Palette& palette : palettes)
        for (const PaletteEntry& e : palette)
            if (std::fabs(c.r - e.red / 65535.0f) < 1e-4f && std::fabs(c.g - e.green / 65535.0f) < 1e-4f &&
                std::fabs(c.b - e.blue / 65535.0f) < 1e-4f)
                return true;
    return false;
}

TEST(RenderStress, SamplesAlwaysComeFromACompletePalette) {
    constexpr int kRounds = 12;
    // Every palette the edits produce, found once without renders.
    std::vector<Palette> palettes;
    {
        MapPtr rehearsal = NewMap();
        for (int round = 0; round < kRounds; ++round)
            EditPalette(*rehearsal, round, &palettes);
    }

    MapPtr map = NewMap();
    EditPalette(*map, 0, nullptr);
    map->PrepareForRender();
    std::atomic<bool> editing{true};
    std::atomic<int> wrong{0};
    std::atomic<long> samples{0};
    const int modes[] = {0, 1, 2, 10, 11};
    std::vector<std::thread> renderers;
    for (int t = 0; t < 3; ++t)
        renderers.emplace_back([&, t] {
            SampleContext sc;
            long count = 0;
            // Keep sampling until the edits are over, and at least a while.
            while (editing.load() || count < 2000) {
                map->pblock->GetInt(pb_mapping_old, 0);
                sc.nodeId = static_cast<int>(count % 17);
                sc.uvw = Point3(static_cast<float>(count % 101) / 100.0f, 0.0f, 0.0f);
                const AColor c = map->EvalColor(sc);
                if (!IsPaletteColour(c, palettes))
                    wrong.fetch_add(1);
                ++count;
            }
            samples.fetch_add(count);
            (void)t;
        });
    for (int round = 0; round < kRounds; ++round) {
        map->pblock->SetValue(pb_mapping_old, 0, modes[round % 5]);
        EditPalette(*map, round, nullptr);
    }
    editing.store(false);
    for (std::thread& renderer : renderers)
        renderer.join();
    EXPECT_EQ(wrong.load(), 0) << "of " << samples.load() << " samples";
    EXPECT_GT(samples.load(), 6000);
}

} // namespace
