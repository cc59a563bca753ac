#include "image_decode.h"

#include "image_stb_guard.h"

#include "hostsdk/large_arrays.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <utility>

// The one copy of the decoder in the SDK, limited to the formats the host reads. Files are read by the
// SDK itself (wide paths), so the decoder needs no stdio of its own. It allocates with std::malloc, so
// that a bitmap can keep the decoded pixels as they are (PixelMemory frees them with std::free); its large
// blocks are advised onto huge pages.
#define STBI_MALLOC(size) AllocateLarge(size)
#define STBI_REALLOC(memory, size) ReallocateLarge(memory, size)
#define STBI_FREE(memory) std::free(memory)
#define STB_IMAGE_IMPLEMENTATION
#include "stb_image_formats.h"
#include <stb_image.h>

namespace hostsdk::image {

namespace {

// Every decode asks for four channels: the decoder then copies grey into red, green and blue, and sets
// the alpha of files without one to the channel maximum, which normalises to exactly 1.
constexpr int kChannels = 4;

// The decoder names its failures by short reasons; those about size are memory errors.
BMMRES Failure(BMMRES otherwise) {
    const char* reason = stbi_failure_reason();
    if (reason != nullptr && (std::strcmp(reason, "outofmem") == 0 || std::strcmp(reason, "too large") == 0))
        return BMMRES_MEMORYERROR;
    return otherwise;
}

// Runs one of the decoder's load functions for four channels and keeps its pixels, of the given type, in
// `out`.
template <typename LoadFunction>
BMMRES Decode(std::span<const unsigned char> bytes, LoadFunction load, BitmapChannels channels, int width,
              int height, DecodedImage& out) {
    int decodedWidth = 0, decodedHeight = 0, channelsInFile = 0;
    PixelMemory decoded(load(bytes.data(), static_cast<int>(bytes.size()), &decodedWidth, &decodedHeight,
                             &channelsInFile, kChannels));
    if (!decoded)
        return Failure(BMMRES_CORRUPTFILE);
    if (decodedWidth != width || decodedHeight != height)
        return BMMRES_CORRUPTFILE;
    out.width = width;
    out.height = height;
    out.channels = channels;
    out.pixels = std::move(decoded);
    return BMMRES_SUCCESS;
}

} // namespace

BMMRES CheckStbHead(std::span<const unsigned char> head) {
    if (!JpegTablesFit(head))
        return BMMRES_CORRUPTFILE;
    int width = 0, height = 0, channelsInFile = 0;
    if (!stbi_info_from_memory(head.data(), static_cast<int>(std::min<std::size_t>(head.size(), INT_MAX)),
                               &width, &height, &channelsInFile))
        return BMMRES_INVALIDFORMAT;
    return CheckImageSize(width, height);
}

BMMRES DecodeStbImage(std::span<const unsigned char> bytes, DecodedImage& out) {
    if (bytes.size() > static_cast<std::size_t>(INT_MAX))
        return BMMRES_MEMORYERROR;
    const std::vector<unsigned char> trimmed = PngWithoutEmptyData(bytes);
    if (!trimmed.empty())
        bytes = trimmed;
    const unsigned char* data = bytes.data();
    const int length = static_cast<int>(bytes.size());

    // Checked before the decoder reads even the header, which can hold the tables.
    if (!JpegTablesFit(bytes))
        return BMMRES_CORRUPTFILE;
    // The header alone first, so that a forged size is refused before the decoder allocates for it. Sizes
    // the decoder itself refuses (a PNG of more than 2^30 bytes) fail here, as unrecognised.
    int width = 0, height = 0, channelsInFile = 0;
    if (!stbi_info_from_memory(data, length, &width, &height, &channelsInFile))
        return BMMRES_INVALIDFORMAT;
    if (const BMMRES status = CheckImageSize(width, height); status != BMMRES_SUCCESS)
        return status;
    if (!StbDataComplete(bytes))
        return BMMRES_CORRUPTFILE;

    // Floating-point files keep their values; 16-bit files are read at their full depth rather than cut
    // to 8 bits.
    if (stbi_is_hdr_from_memory(data, length))
        return Decode(bytes, stbi_loadf_from_memory, BitmapChannels::Float, width, height, out);
    if (stbi_is_16_bit_from_memory(data, length))
        return Decode(bytes, stbi_load_16_from_memory, BitmapChannels::UInt16, width, height, out);
    return Decode(bytes, stbi_load_from_memory, BitmapChannels::UInt8, width, height, out);
}

} // namespace hostsdk::image
