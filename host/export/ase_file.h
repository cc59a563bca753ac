#pragma once

// Adobe Swatch Exchange files (.ase).
#include "host/export/palette_export.h"

#include <string>

namespace host {

// The palette as an .ase file: "ASEF", version 1.0, the block count, then a group named after the palette
// holding one colour block per entry (UTF-16BE name, model "RGB ", three floats, type "normal"). Every
// number is big-endian; the channels are the 16-bit values as floats in 0..1.
std::string AseFile(const PaletteExport& palette);

} // namespace host
