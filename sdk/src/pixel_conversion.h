#pragma once

#include "hostsdk/bitmap.h"

#include <cstddef>

namespace hostsdk::image {

// Bytes one pixel of four `channels` takes.
std::size_t PixelBytes(BitmapChannels channels);

// Reads `count` pixels of four `channels` each from `source` as four floats each: integer channels
// divided by their maximum, floating-point ones unchanged.
void ConvertPixels(BitmapChannels channels, const void* source, std::size_t count, BMM_Color_fl* out);

} // namespace hostsdk::image
