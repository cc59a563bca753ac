#pragma once

#include "hostsdk/bitmap.h"

#include <cstddef>
#include <span>

namespace hostsdk::image {

// A decoded image: width x height pixels of four channels, row by row from the top-left corner, at the
// depth the decoder gave them.
struct DecodedImage {
    int width = 0;
    int height = 0;
    BitmapChannels channels = BitmapChannels::UInt8;
    PixelMemory pixels;
};

// 2^27 pixels of four floats take 2 GiB; a file declaring more is refused before anything that size is
// allocated, so a forged header cannot exhaust memory.
inline constexpr long long kMaxImagePixels = 1LL << 27;

// BMMRES_SUCCESS for a size that may be decoded; BMMRES_CORRUPTFILE for an empty or negative side,
// BMMRES_MEMORYERROR for more than kMaxImagePixels pixels.
BMMRES CheckImageSize(long long width, long long height);

// Decodes a whole image file held in memory, choosing the decoder from the file's signature.
BMMRES DecodeImage(std::span<const unsigned char> bytes, DecodedImage& out);

// The decoders DecodeImage chooses from.
bool IsExrImage(std::span<const unsigned char> bytes);
BMMRES DecodeExrImage(std::span<const unsigned char> bytes, DecodedImage& out);
BMMRES DecodeStbImage(std::span<const unsigned char> bytes, DecodedImage& out);

} // namespace hostsdk::image
