#include "palette/colour_adjust_cache.h"

AColor AdjustedColours::Miss(const Palette& palette, std::size_t index, const ColourAdjustment& adjustment) {
    std::lock_guard<std::mutex> guard(lock);
    for (const auto& table : tables)
        if (SameAdjustment(table->adjustment, adjustment)) {
            latest.store(table.get(), std::memory_order_release);
            return table->colours[index];
        }
    if (tables.size() == kMaxTables)
        return AdjustPaletteColour(palette[index], adjustment);
    auto table = std::make_unique<Table>();
    table->adjustment = adjustment;
    table->colours.reserve(palette.size());
    for (const PaletteEntry& entry : palette)
        table->colours.push_back(AdjustPaletteColour(entry, adjustment));
    tables.push_back(std::move(table));
    latest.store(tables.back().get(), std::memory_order_release);
    return tables.back()->colours[index];
}
