#pragma once

// The material editor's sample slot: a map on a sample object, lit as the host's sample slots are, on a grey
// or a checker background.
#include "hostsdk/mtl_base.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <vector>

namespace host {

enum class SlotShape { Sphere, Box, Cylinder };

struct SlotSettings {
    SlotShape shape = SlotShape::Sphere;
    // A checker behind the object, which shows the map's transparency; otherwise a plain grey.
    bool checker = false;
    int width = 128;
    int height = 128;
    // The time the map is shaded at.
    TimeValue time = 0;
};

// 8-bit blue, green, red and an unused byte per pixel, rows from the top: what a Windows DIB section holds.
struct SlotPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bgrx;
};

// Shades every pixel of the object with `map`. Gives up, returning nothing, once `cancelled` is set; it is
// looked at once a row. The map is only evaluated, so it may be rendered while its owner edits it, as a
// render thread does.
std::optional<SlotPicture> RenderSampleSlot(Texmap& map, const SlotSettings& settings,
                                            const std::atomic<bool>* cancelled = nullptr);

} // namespace host
