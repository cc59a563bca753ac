#include "image_decode.h"

#include <array>
#include <cstring>
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

} // namespace

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
