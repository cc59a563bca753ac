#pragma once

// GIMP palette files (.gpl), which GIMP, Inkscape and Krita read.
#include "host/export/palette_export.h"

#include <string>

namespace host {

// The palette as a .gpl file: the "GIMP Palette" line, then "Name:" and "Columns:" in that order (GIMP
// reads "Columns:" only right after "Name:"), comments, and one "R G B<TAB>name" line per colour. Lines end
// in LF alone: GIMP would keep a CR as part of the colour's name.
std::string GplFile(const PaletteExport& palette);

} // namespace host
