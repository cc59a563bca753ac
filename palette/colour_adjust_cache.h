#pragma once

// The adjusted colours of one palette: shading adjusts the same few colours millions of times a frame
// with the same parameters, so a palette keeps its colours adjusted by the parameters last asked for.
// Each is computed by AdjustPaletteColour itself, so a kept colour is the same in every bit as one
// adjusted afresh.
#include "palette/colour_adjust.h"

#include <atomic>
#include <cstddef>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

// Whether two adjustments are the same in every bit (a NaN gamma matches itself, so it too is kept).
inline bool SameAdjustment(const ColourAdjustment& a, const ColourAdjustment& b) {
    static_assert(sizeof(ColourAdjustment) == 16, "four 32-bit fields, no padding");
    return std::memcmp(&a, &b, sizeof(ColourAdjustment)) == 0;
}

class AdjustedColours {
public:
    // AdjustPaletteColour(palette[index], adjustment), index below palette.size(). Every call passes the
    // same palette, the one this object was made for. Safe on any number of threads.
    AColor Get(const Palette& palette, std::size_t index, const ColourAdjustment& adjustment) {
        const Table* table = latest.load(std::memory_order_acquire);
        if (table != nullptr && SameAdjustment(table->adjustment, adjustment)) [[likely]]
            return table->colours[index];
        return Miss(palette, index, adjustment);
    }

private:
    struct Table {
        ColourAdjustment adjustment;
        std::vector<AColor> colours;
    };
    // Parameters changed while the palette is in use (an animated gamma, a spinner dragged during a
    // preview) each add a table; past this many the colours are adjusted afresh.
    static constexpr std::size_t kMaxTables = 32;

    AColor Miss(const Palette& palette, std::size_t index, const ColourAdjustment& adjustment);

    std::atomic<const Table*> latest{nullptr};
    std::mutex lock;
    // Every table stays until the palette goes: a sample may still be reading an older one.
    std::vector<std::unique_ptr<const Table>> tables;
};
