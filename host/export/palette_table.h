#pragma once

// The palette command's table for people: a summary line, then one line per colour.
#include "host/export/palette_export.h"

#include <string>

namespace host {

// With `colour`, each line starts with a swatch drawn by terminal colour codes.
std::string PaletteTable(const PaletteExport& palette, bool colour);

} // namespace host
