#pragma once

// CSS custom properties for a palette, for style sheets and web design tools.
#include "host/export/palette_export.h"

#include <string>

namespace host {

// ":root { --chromasift-1: #rrggbb; ... }", one property per colour in palette order, each with a comment
// giving the colour's share of the samples.
std::string CssFile(const PaletteExport& palette);

} // namespace host
