#include "host/export/swatch_sheet.h"

#include "host/draw/font.h"

#include <algorithm>

namespace host {

namespace {

constexpr Rgba8 kWhite{255, 255, 255, 255};
constexpr Rgba8 kLabelColour{48, 48, 48, 255};
constexpr float kLabelPixelHeight = 12.0f;

} // namespace

Canvas SwatchSheet(const PaletteExport& palette) {
    const int count = static_cast<int>(palette.palette.size());
    if (count == 0)
        return Canvas();
    // As in the rollout: the columns of the first row, and every row drawn with all its columns.
    const int columns = std::min(count, kSwatchColumns);
    const int rows = (count + columns - 1) / columns;
    Canvas canvas(columns * kSwatchPitchX + 1, rows * kSwatchPitchY + 1, kWhite);
    const Font& font = Font::Default();
    for (int i = 0; i < count; ++i) {
        const PaletteEntry& e = palette.palette[static_cast<std::size_t>(i)];
        const int left = (i % columns) * kSwatchPitchX + 1;
        const int top = (i / columns) * kSwatchPitchY + 1;
        canvas.FillRect(left, top, kSwatchPitchX - 1, kSwatchColourHeight,
                        Rgba8{Byte8(e.red), Byte8(e.green), Byte8(e.blue), 255});
        const std::string label =
            font.Fit(SharePercent(e, palette.samples), kLabelPixelHeight, kSwatchPitchX - 3);
        const int width = font.TextWidth(label, kLabelPixelHeight);
        const int labelTop =
            top + kSwatchColourHeight + (kSwatchLabelHeight - static_cast<int>(kLabelPixelHeight)) / 2;
        font.Draw(canvas, left + (kSwatchPitchX - 1 - width) / 2, labelTop, label, kLabelPixelHeight,
                  kLabelColour);
    }
    return canvas;
}

} // namespace host
