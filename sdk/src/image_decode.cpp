#include "image_decode.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

namespace hostsdk::image {

BMMRES CheckImageSize(long long width, long long height) {
    if (width <= 0 || height <= 0)
        return BMMRES_CORRUPTFILE;
    // Divide rather than multiply: the product of two forged sides can overflow.
    if (width > kMaxImagePixels / height)
        return BMMRES_MEMORYERROR;
    return BMMRES_SUCCESS;
}

bool IsExrImage(std::span<const unsigned char> bytes) {
    static constexpr std::array<unsigned char, 4> magic = {0x76, 0x2f, 0x31, 0x01};
    return bytes.size() >= magic.size() && std::memcmp(bytes.data(), magic.data(), magic.size()) == 0;
}

namespace {

// Image files recognised by their signature but read by no decoder of this host.
bool IsUndecodableImage(std::span<const unsigned char> bytes) {
    const auto startsWith = [&](std::string_view prefix, std::size_t at = 0) {
        return bytes.size() >= at + prefix.size() &&
               std::memcmp(bytes.data() + at, prefix.data(), prefix.size()) == 0;
    };
    using namespace std::string_view_literals;
    return startsWith("GIF87a"sv) || startsWith("GIF89a"sv) || startsWith("II*\0"sv) ||
           startsWith("MM\0*"sv) || startsWith("8BPS"sv) || (startsWith("RIFF"sv) && startsWith("WEBP"sv, 8));
}

std::uint32_t BigEndian(std::span<const unsigned char> bytes, std::size_t at, std::size_t count) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < count; ++i)
        value = value << 8 | bytes[at + i];
    return value;
}

// A JPEG's size from its frame header, found by walking the segments; nothing when the first bytes end
// before it.
std::optional<BMMRES> JpegHeadSize(std::span<const unsigned char> head) {
    std::size_t at = 2;
    while (at + 4 <= head.size()) {
        if (head[at] != 0xff)
            return BMMRES_CORRUPTFILE;
        const unsigned char marker = head[at + 1];
        if (marker == 0xff) {
            ++at; // fill bytes
            continue;
        }
        const std::size_t length = BigEndian(head, at + 2, 2);
        // Start of frame: every 0xc0 to 0xcf but the table and arithmetic-coding markers.
        const bool frame =
            marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc;
        if (frame && at + 9 <= head.size())
            return CheckImageSize(BigEndian(head, at + 7, 2), BigEndian(head, at + 5, 2));
        if (length < 2)
            return BMMRES_CORRUPTFILE;
        at += 2 + length;
    }
    return std::nullopt;
}

} // namespace

BMMRES CheckImageHead(std::span<const unsigned char> head) {
    if (head.empty())
        return BMMRES_INVALIDFORMAT;
    if (IsExrImage(head))
        return BMMRES_SUCCESS;
    if (IsUndecodableImage(head))
        return BMMRES_NODRIVER;
    static constexpr unsigned char png[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (head.size() >= 24 && std::memcmp(head.data(), png, sizeof png) == 0 &&
        std::memcmp(head.data() + 12, "IHDR", 4) == 0)
        return CheckImageSize(BigEndian(head, 16, 4), BigEndian(head, 20, 4));
    if (head.size() >= 3 && head[0] == 0xff && head[1] == 0xd8 && head[2] == 0xff)
        return JpegHeadSize(head).value_or(BMMRES_SUCCESS);
    if (head.size() >= 26 && head[0] == 'B' && head[1] == 'M') {
        // Little-endian, the height negative for rows from the top.
        const auto word = [&](std::size_t at) {
            return static_cast<std::int32_t>(head[at] | head[at + 1] << 8 | head[at + 2] << 16 |
                                             static_cast<std::uint32_t>(head[at + 3]) << 24);
        };
        const long long height = word(22);
        return CheckImageSize(word(18), height < 0 ? -height : height);
    }
    return CheckStbHead(head);
}

BMMRES DecodeImage(std::span<const unsigned char> bytes, DecodedImage& out) {
    if (bytes.empty())
        return BMMRES_INVALIDFORMAT;
    if (IsExrImage(bytes))
        return DecodeExrImage(bytes, out);
    if (IsUndecodableImage(bytes))
        return BMMRES_NODRIVER;
    return DecodeStbImage(bytes, out);
}

} // namespace hostsdk::image
