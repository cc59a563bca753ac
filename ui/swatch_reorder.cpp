#include "ui/swatch_reorder.h"

#include <cstddef>
#include <utility>

ReorderState theReorderState;

void MoveSwatch(Palette& list, int source, int target) {
    const int size = static_cast<int>(list.size());
    if (source == target || source < 0 || target < 0 || source >= size || target >= size)
        return;
    const PaletteEntry dragged = list[static_cast<std::size_t>(source)];
    Palette moved;
    moved.reserve(list.size());
    for (int i = 0; i < size; ++i) {
        if (i == target && target < source)
            moved.push_back(dragged);
        if (i != source)
            moved.push_back(list[static_cast<std::size_t>(i)]);
        if (i == target && target > source)
            moved.push_back(dragged);
    }
    list = std::move(moved);
}

Palette ApplyReorder(const Palette& palette, const Palette& reordered) {
    Palette result = reordered;
    if (reordered.size() < palette.size())
        result.insert(result.end(), palette.begin() + static_cast<std::ptrdiff_t>(reordered.size()),
                      palette.end());
    return result;
}
