#include "host/sheet/sheet_layout.h"

#include <algorithm>

namespace host {

SheetLayout LayOutSheet(int cells, int cellWidth, int cellHeight) {
    SheetLayout layout;
    layout.columns = std::clamp(cells, 1, 6);
    layout.rows = std::max(1, (cells + layout.columns - 1) / layout.columns);
    layout.cellWidth = cellWidth;
    layout.cellHeight = cellHeight;
    layout.textHeight = std::clamp(static_cast<float>(cellWidth) / 18.0f, 13.0f, 40.0f);
    layout.noteHeight = std::max(12.0f, layout.textHeight * 0.85f);
    const int line = layout.LabelLine();
    layout.labelHeight = line + static_cast<int>(layout.noteHeight * 1.3f);
    layout.margin = std::max(6, line / 2);
    layout.titleHeight = line + layout.margin / 2;
    layout.stripWidth = std::max(120, static_cast<int>(layout.textHeight * 9.0f));
    return layout;
}

} // namespace host
