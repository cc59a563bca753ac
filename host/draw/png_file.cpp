#include "host/draw/png_file.h"

#include "host/base/atomic_file.h"
#include "host/base/text.h"

#include <cmath>
#include <stdexcept>
#include <string>

// The one copy of the encoder in the host; it writes through a callback into memory, and the host replaces
// the file with the whole picture.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

namespace host {

namespace {

void AppendBytes(void* context, void* data, int size) {
    auto* bytes = static_cast<std::vector<std::uint8_t>*>(context);
    const auto* begin = static_cast<const std::uint8_t*>(data);
    bytes->insert(bytes->end(), begin, begin + size);
}

} // namespace

std::uint8_t ToByte(float value) {
    if (!(value > 0.0f))
        return 0;
    if (value >= 1.0f)
        return 255;
    return static_cast<std::uint8_t>(std::floor(value * 255.0f + 0.5f));
}

std::vector<std::uint8_t> EncodePng(int width, int height, const std::vector<std::uint8_t>& rgba) {
    if (width <= 0 || height <= 0 ||
        rgba.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4)
        throw std::runtime_error("no picture to write");
    std::vector<std::uint8_t> encoded;
    if (stbi_write_png_to_func(AppendBytes, &encoded, width, height, 4, rgba.data(), width * 4) == 0)
        throw std::runtime_error("the picture cannot be encoded");
    return encoded;
}

void WritePng(const std::filesystem::path& file, int width, int height,
              const std::vector<std::uint8_t>& rgba) {
    std::vector<std::uint8_t> encoded;
    try {
        encoded = EncodePng(width, height, rgba);
    } catch (const std::runtime_error& e) {
        throw std::runtime_error(PathToUtf8(file) + ": " + e.what());
    }
    WriteFileAtomically(file,
                        std::string_view(reinterpret_cast<const char*>(encoded.data()), encoded.size()));
}

} // namespace host
