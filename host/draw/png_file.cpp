#include "host/draw/png_file.h"

#include "host/base/atomic_file.h"
#include "host/base/text.h"

#include <cmath>
#include <fstream>
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

bool IsCompletePng(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    char signature[8];
    if (!in.read(signature, sizeof signature) || std::string_view(signature, 8) != "\x89PNG\r\n\x1a\n")
        return false;
    // Each chunk: its data's length (big-endian), its type, the data and a CRC; only the layout is checked.
    unsigned char head[8];
    while (in.read(reinterpret_cast<char*>(head), sizeof head)) {
        const std::uint32_t length = static_cast<std::uint32_t>(head[0]) << 24 |
                                     static_cast<std::uint32_t>(head[1]) << 16 |
                                     static_cast<std::uint32_t>(head[2]) << 8 | head[3];
        if (length > 0x7fffffffu || !in.seekg(static_cast<std::streamoff>(length) + 4, std::ios::cur))
            return false;
        if (std::string_view(reinterpret_cast<const char*>(head + 4), 4) == "IEND")
            // Seeking past the end succeeds: the CRC must be there to read.
            return in.seekg(-1, std::ios::cur) && in.get() != std::char_traits<char>::eof();
    }
    return false;
}

} // namespace host
