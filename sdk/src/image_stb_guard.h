#pragma once

#include <span>
#include <vector>

namespace hostsdk::image {

// Checks for damaged files that the image decoder would mishandle instead of refusing. Other files, damaged
// or not, are left to the decoder to judge.

// False for a JPEG with a Huffman table of more than 256 codes, which the decoder would write past, even
// while only reading the header. Call it before the decoder sees the file.
bool JpegTablesFit(std::span<const unsigned char> bytes);

// False for a file cut short, whose missing pixels the decoder would fill with zeros and call a success,
// for an HDR scan line with an empty run, which the decoder would never finish, and for a JPEG scan using a
// Huffman table the file never defined, which the decoder would read uninitialised. Call it once the
// decoder has accepted the header and the image size has been checked.
bool StbDataComplete(std::span<const unsigned char> bytes);

// The PNG without its empty data chunks, which add nothing to the image but which the decoder, when one
// comes first, copies into a buffer it has not allocated yet. Empty when there is no such chunk (or no PNG).
std::vector<unsigned char> PngWithoutEmptyData(std::span<const unsigned char> bytes);

} // namespace hostsdk::image
