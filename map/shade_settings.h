#pragma once

// What a sample reads of the map's parameters, read once for all the samples that would read the same
// values: the parameter block's values at the slider's time ("InputMapOn" at time 0), what the modes
// work out from them alone, and the palette's colours under them. They stay right for as long as the
// block's change count (map/block_change_count.h) stays the same and the slider stays within the times they
// hold over; a sample that finds either changed reads them again.
#include "palette/colour_adjust.h"
#include "palette/palette_entry.h"
#include "plugin/host_sdk.h"

#include <cstdint>
#include <vector>

struct ShadeSettings {
    // What a sample does: a distribution mode (0 to 16), or one of these two.
    enum Route : int {
        // A mode number outside 0 to 16: black, adjusted and filtered.
        kUnknownMode = 17,
        // An empty palette or no parameter block: black, filtered only.
        kBlank = 18,
    };
    // The block's change count when they were read; kUnread before any read.
    static constexpr std::uint64_t kUnread = ~std::uint64_t{0};

    std::uint64_t changes = kUnread;
    // The slider times over which the values hold; the change count again when no value read is animated
    // and they hold at every time, else kUnread.
    Interval times;
    std::uint64_t timelessChanges = kUnread;

    int route = kBlank;
    std::uint32_t n = 1; // the active colour count
    float squareSide = 1.0f;
    float cubeSide = 1.0f;
    std::int32_t tileRows = 0;
    std::int32_t tileColumns = 0;
    Texmap* input = nullptr; // the input map while switched on
    ColourAdjustment adjustment;
    // The palette's size, and the colours a sample shows after the output filter: every entry adjusted,
    // then black adjusted (what a mode that selects nothing shows) at index `entries`. Without a palette
    // or block, black alone.
    std::uint32_t entries = 0;
    std::vector<AColor> colours;
    // Every entry as it is ("Per Element").
    std::vector<AColor> plain;

    // Whether they are the block's values now, given its change count now. `now` gives the slider's time;
    // it is asked only when some value read is animated.
    template <class Now> bool Current(std::uint64_t changesNow, Now&& now) const {
        if (timelessChanges == changesNow) [[likely]]
            return true;
        if (changes != changesNow)
            return false;
        const TimeValue t = now();
        return t >= times.Start() && t <= times.End();
    }
};

// Reads the settings from the block (null: none) at the slider's time t for the palette; `changes` is the
// block's change count, taken before the call. `previous` are settings read before for the same palette,
// or unread ones: their colours are kept when the adjustment is the same.
ShadeSettings ReadShadeSettings(IParamBlock2* block, std::uint64_t changes, TimeValue t,
                                const Palette& palette, const ShadeSettings& previous);
