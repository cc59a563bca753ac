#pragma once

// The palette a map extracts from an image file, computed by the host with the map's own palette steps, for
// the commands that show palettes.
#include "palette/extraction.h"

#include <string>

namespace host {

struct ImagePalette {
    int width = 0, height = 0;            // the image
    int columns = 0, rows = 0;            // the sample grid
    std::uint32_t samples = 0;            // samples in the grid
    std::uint32_t transparentSamples = 0; // of them, fully transparent ones (they count with their colour)
    ExtractionResult result;              // the extraction
    Palette palette;                      // after the harmony, when one was asked for
};

// Loads the image through the bitmap manager and extracts its palette, then harmonises it with harmony 0
// ("none") to 7; -1 leaves it as extracted. Throws std::runtime_error naming the image and why it cannot be
// read.
ImagePalette ExtractImagePalette(const std::string& image, int colours, int skip, int harmony);

// When most samples are fully transparent, a note that they count with the colour they hold and how to leave
// that colour out; empty otherwise. `source` names the picture.
std::string TransparencyNote(const ImagePalette& extracted, const std::string& source);

} // namespace host
