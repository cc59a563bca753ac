#include "palette/extraction.h"

#include "palette/kmeans.h"

#include "hostsdk/hsv.h"

#include <algorithm>
#include <map>

namespace {

constexpr uint32_t kLeastClusters = 35;
constexpr float kConvergenceThreshold = 0.05f;
// As many clusters as the largest sample grid has samples.
constexpr uint32_t kMostClusters = 65536;

// trunc(channel × 65535) as a 64-bit integer cut to its low 32 bits. Values no 64-bit integer holds
// (only possible for channels far outside 0..1) count as 0 instead of being undefined.
uint32_t QuantiseChannel(float channel) {
    const float scaled = channel * 65535.0f;
    if (!(scaled > -0x1p63f && scaled < 0x1p63f))
        return 0;
    return static_cast<uint32_t>(static_cast<int64_t>(scaled));
}

int32_t Scaled(float fraction) {
    return static_cast<int32_t>(fraction * 65535.0f);
}

PaletteEntry EntryFromKey(uint64_t key, uint32_t count) {
    PaletteEntry entry;
    entry.red = static_cast<uint16_t>(key >> 48);
    entry.green = static_cast<uint16_t>(key >> 32);
    entry.blue = static_cast<uint16_t>(key >> 16);
    entry.alpha = static_cast<uint16_t>(key);
    const Color hsv =
        RGBtoHSV(Color(static_cast<float>(entry.red) / 65535.0f, static_cast<float>(entry.green) / 65535.0f,
                       static_cast<float>(entry.blue) / 65535.0f));
    entry.hue = Scaled(hsv.r);
    entry.saturation = Scaled(hsv.g);
    entry.value = Scaled(hsv.b);
    entry.count = count;
    entry.sortMode = 0;
    return entry;
}

} // namespace

uint32_t ClusterCount(uint32_t numColours, uint32_t skipColours) {
    return std::max(kLeastClusters, numColours + skipColours);
}

uint64_t QuantiseCentre(const float* centre) {
    uint64_t key = QuantiseChannel(centre[0]);
    for (int channel = 1; channel < 4; ++channel)
        key = key * 0x10000 + QuantiseChannel(centre[channel]);
    return key;
}

Palette BuildPalettes(std::span<const uint64_t> keys) {
    std::map<uint64_t, uint32_t> counts;
    // Neighbouring samples mostly repeat a key; remembering the last one saves most tree searches.
    auto last = counts.end();
    for (const uint64_t key : keys) {
        if (last == counts.end() || last->first != key)
            last = counts.try_emplace(key, 0).first;
        ++last->second;
    }
    Palette palette;
    palette.reserve(counts.size());
    for (const auto& [key, count] : counts)
        palette.push_back(EntryFromKey(key, count));
    // Inserting each entry, in key order, before the first one with a smaller count is this stable sort.
    std::stable_sort(palette.begin(), palette.end(),
                     [](const PaletteEntry& a, const PaletteEntry& b) { return a.count > b.count; });
    return palette;
}

ExtractionResult ExtractPaletteFromGrid(const SampleGrid& grid, uint32_t numColours, uint32_t skipColours,
                                        const KMeansExecution& execution) {
    ExtractionResult result;
    const uint32_t n = grid.Count();
    if (n == 0)
        return result;

    // Guard against counts far beyond the spinners' ranges: a negative "# colors" reads as about 4 billion
    // clusters, more centres than memory holds, and a million clusters already take seconds. Up to as many
    // clusters as the largest grid has samples the formula holds, and runs take well under a second.
    const uint32_t k = std::min(ClusterCount(numColours, skipColours), kMostClusters);
    KMeans kmeans(k, execution);
    const std::vector<uint32_t> clusters = kmeans.Run(grid.samples.data(), kConvergenceThreshold, n, 4);
    result.iterations = kmeans.Iterations();

    // Samples of one cluster share its centre and so its key: each centre is quantised once.
    std::vector<uint64_t> clusterKeys(k);
    for (uint32_t i = 0; i < k; ++i)
        clusterKeys[i] = QuantiseCentre(kmeans.Centre(i));
    std::vector<uint64_t> keys(n);
    for (uint32_t s = 0; s < n; ++s)
        keys[s] = clusterKeys[clusters[s]];

    Palette palette = BuildPalettes(keys);
    const size_t skipped = std::min<size_t>(skipColours, palette.size());
    palette.erase(palette.begin(), palette.begin() + static_cast<std::ptrdiff_t>(skipped));
    palette.resize(std::min<size_t>(palette.size(), numColours));
    result.extractedPalette = palette;
    result.palette = std::move(palette);
    return result;
}
