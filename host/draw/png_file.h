#pragma once

// Writing pictures as 8-bit RGBA PNG files.
#include <cstdint>
#include <filesystem>
#include <vector>

namespace host {

// A channel in 0..1 as a byte: clamped, then rounded to the nearest of the 256 levels (0.5 rounds up).
// NaN gives 0.
std::uint8_t ToByte(float value);

// Width x height RGBA pixels (four bytes each, row by row from the top) encoded as PNG. Throws
// std::runtime_error when they cannot be.
std::vector<std::uint8_t> EncodePng(int width, int height, const std::vector<std::uint8_t>& rgba);

// Writes width x height RGBA pixels (four bytes each, row by row from the top) as a PNG file. Throws
// std::runtime_error naming the file when it cannot be written.
void WritePng(const std::filesystem::path& file, int width, int height,
              const std::vector<std::uint8_t>& rgba);

// Whether `file` holds a whole PNG file: the signature, then chunks through IEND, none cut short. A frame
// of a sequence counts as written only then: an empty or cut file (a full disk, a copy stopped half way)
// is rendered again.
bool IsCompletePng(const std::filesystem::path& file);

} // namespace host
