#pragma once

// The palette a map extracts from an image file, computed by the host with the map's own palette steps, for
// the commands that show palettes.
#include "palette/extraction.h"

#include <string>

namespace host {

struct ImagePalette {
    int width = 0, height = 0; // the image
    int columns = 0, rows = 0; // the sample grid
    std::uint32_t samples = 0; // samples in the grid
    ExtractionResult result;   // the extraction
    Palette palette;           // after the harmony, when one was asked for
};

// Loads the image through the bitmap manager and extracts its palette, then harmonises it with harmony 0
// ("none") to 7; -1 leaves it as extracted. Throws std::runtime_error naming the image and why it cannot be
// read.
ImagePalette ExtractImagePalette(const std::string& image, int colours, int skip, int harmony);

} // namespace host
