#include "ui/manual_reorder.h"

#include "map/chromasift.h"
#include "plugin/param_ids.h"
#include "plugin/plugin_main.h"
#include "ui/swatch_reorder.h"

#include <algorithm>
#include <cstddef>

void ManualReorder(Chromasift& map) {
    Palette working;
    {
        // Pinned only while copied: the dialog may stay open for long, and a pin held through it would keep
        // every palette replaced meanwhile alive.
        const Chromasift::PalettePin pinned = map.GetPalette();
        const Palette& palette = *pinned;
        if (palette.empty() || map.pblock == nullptr)
            return;
        const int numColours = map.pblock->GetInt(pb_num_colors, GetCOREInterface()->GetTime());
        const auto count =
            static_cast<std::size_t>(std::clamp(numColours, 0, static_cast<int>(palette.size())));
        working.assign(palette.begin(), palette.begin() + static_cast<std::ptrdiff_t>(count));
    }
    if (!RunReorderDialog(working))
        return;
    map.SetPalette(ApplyReorder(*map.GetPalette(), working));
    GetChromasiftDesc()->InvalidateUI();
}
