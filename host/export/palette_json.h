#pragma once

// The palette command's JSON report: image and grid size, k-means passes and every entry's fields.
#include "host/export/palette_export.h"

#include <string>

namespace host {

std::string PaletteJson(const PaletteExport& palette);

} // namespace host
