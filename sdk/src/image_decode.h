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

// The file's first bytes that HeadOfImage needs: enough for every header but a JPEG's behind long metadata.
inline constexpr std::size_t kImageHeadBytes = 1 << 16;

// Judges an image file by its first bytes, before it is read whole: BMMRES_INVALIDFORMAT for no image
// (a file of zeros, a text), BMMRES_NODRIVER for an image type without a decoder, BMMRES_MEMORYERROR for a
// declared size of more than kMaxImagePixels pixels, BMMRES_CORRUPTFILE for an empty side; else success
// (also for a JPEG whose size lies beyond the first bytes, which the decoder then checks). PNG, JPEG and
// BMP sizes are read by this host itself, since the decoder refuses large ones as unrecognised.
BMMRES CheckImageHead(std::span<const unsigned char> head);
// The decoder's own reading of a header it recognises; BMMRES_INVALIDFORMAT where it recognises none.
BMMRES CheckStbHead(std::span<const unsigned char> head);

// Decodes a whole image file held in memory, choosing the decoder from the file's signature.
BMMRES DecodeImage(std::span<const unsigned char> bytes, DecodedImage& out);

// The decoders DecodeImage chooses from.
bool IsExrImage(std::span<const unsigned char> bytes);
BMMRES DecodeExrImage(std::span<const unsigned char> bytes, DecodedImage& out);
BMMRES DecodeStbImage(std::span<const unsigned char> bytes, DecodedImage& out);

} // namespace hostsdk::image
