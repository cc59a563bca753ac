#include "ui/swatches.h"

#include "plugin/resource_ids.h"
#include "ui/swatch_layout.h"
#include "ui/swatch_reorder.h"

#include <cstddef>

namespace {

// The frame's client rectangle in the dialog's client coordinates.
RECT FrameRect(HWND dialog) {
    RECT rect{0, 0, 0, 0};
    HWND frame = GetDlgItem(dialog, IDC_SWATCH_FRAME);
    if (frame == nullptr)
        return rect;
    GetClientRect(frame, &rect);
    MapWindowPoints(frame, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void FillCell(HDC dc, COLORREF colour, int left, int top, int right, int bottom) {
    HBRUSH brush = CreateSolidBrush(colour);
    HGDIOBJ old = SelectObject(dc, brush);
    Rectangle(dc, left, top, right, bottom);
    SelectObject(dc, old);
    DeleteObject(brush);
}

} // namespace

void DrawSwatches(HWND dialog, HDC dc, int count, const Palette& entries) {
    const RECT frame = FrameRect(dialog);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(WHITE_BRUSH));
    Rectangle(dc, frame.left, frame.top, frame.right, frame.bottom);

    const SwatchGrid grid = LayOutSwatches(frame.right - frame.left, frame.bottom - frame.top, count);
    if (grid.columns > 0 && !entries.empty() && grid.cellWidth > 0 && grid.cellHeight > 0) {
        for (int r = 0; r < grid.rows; ++r)
            for (int k = 0; k < grid.columns; ++k) {
                const auto i = static_cast<std::size_t>(r * grid.columns + k);
                const COLORREF colour =
                    i < entries.size() ? RGB(entries[i].red >> 8, entries[i].green >> 8, entries[i].blue >> 8)
                                       : RGB(255, 255, 255);
                // With the null pen the fill stops one pixel short of the right and bottom corner, which
                // leaves the white line between cells.
                FillCell(dc, colour, frame.left + k * grid.cellWidth + 1, frame.top + r * grid.cellHeight + 1,
                         frame.left + (k + 1) * grid.cellWidth, frame.top + (r + 1) * grid.cellHeight);
            }
        // A pending drag of the reorder dialog shows the dragged colour under the mouse, clipped to the
        // frame.
        const int source = theReorderState.dragSource;
        if (source >= 0 && static_cast<std::size_t>(source) < entries.size()) {
            const PaletteEntry& dragged = entries[static_cast<std::size_t>(source)];
            const SwatchRect cell = DragPreviewCell({frame.left, frame.top, frame.right, frame.bottom}, grid,
                                                    theReorderState.dragX, theReorderState.dragY);
            // More than half a cell beyond the frame the clamped corners cross; GDI would draw that
            // rectangle swapped, outside the frame, so the preview is kept inside and shows nothing.
            if (cell.right > cell.left && cell.bottom > cell.top)
                FillCell(dc, RGB(dragged.red >> 8, dragged.green >> 8, dragged.blue >> 8), cell.left,
                         cell.top, cell.right, cell.bottom);
        }
    }
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
}
