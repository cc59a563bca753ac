// Scene files: reading a file's text, bounded, from a file, a device, a pipe or standard input.
#include "host/scene/scene_file.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string_view>
#include <system_error>

namespace host {

namespace {

// "1 GiB", "16 MiB", "1000 bytes", for messages.
std::string ByteAmount(std::uint64_t bytes) {
    constexpr std::uint64_t kMiB = std::uint64_t{1} << 20, kGiB = std::uint64_t{1} << 30;
    if (bytes >= kGiB && bytes % kGiB == 0)
        return std::to_string(bytes / kGiB) + " GiB";
    if (bytes >= kMiB && bytes % kMiB == 0)
        return std::to_string(bytes / kMiB) + " MiB";
    return std::to_string(bytes) + " bytes";
}

// The kind of picture a file's first bytes announce, or null: a picture given where a scene goes is
// named as one, with the option that takes it.
const char* PictureKind(std::string_view first) {
    static const struct {
        std::string_view signature;
        const char* kind;
    } kinds[] = {{"\x89PNG\r\n\x1a\n", "PNG"},
                 {"\xff\xd8\xff", "JPEG"},
                 {"GIF8", "GIF"},
                 {"BM", "BMP"},
                 {"#?RADIANCE", "Radiance HDR"},
                 {"#?RGBE", "Radiance HDR"},
                 {"\x76\x2f\x31\x01", "OpenEXR"},
                 {"II*\0", "TIFF"},
                 {"MM\0*", "TIFF"},
                 {"8BPS", "Photoshop"}};
    for (const auto& k : kinds)
        if (first.substr(0, k.signature.size()) == k.signature)
            return k.kind;
    if (first.substr(0, 4) == "RIFF" && first.substr(8, 4) == "WEBP")
        return "WebP";
    return nullptr;
}

// Reads to the end, refusing more than `maxBytes`. A stream (a device, a pipe) that does not start as a
// scene's one JSON object, such as a device of zeros or of noise, is refused at its first bytes rather than
// read on to the limit; a file keeps its parse error's line and column.
std::string ReadBounded(std::istream& in, const std::string& name, std::uint64_t maxBytes, bool stream) {
    std::string text;
    char chunk[1 << 16];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        const std::string_view read(chunk, static_cast<std::size_t>(in.gcount()));
        if (text.empty())
            if (const char* picture = PictureKind(read))
                throw SceneError(name + ": not a scene file: it is a " + std::string(picture) +
                                 " picture; a picture is given with --bitmap");
        if (stream && text.empty()) {
            const std::size_t first = read.find_first_not_of(" \t\r\n");
            if (first != std::string_view::npos && read[first] != '{' &&
                read.substr(first, 3) != "\xef\xbb\xbf")
                throw SceneError(name + ": not a scene file: it does not start with a JSON object");
        }
        text.append(read);
        if (text.size() > maxBytes)
            throw SceneError(name + ": not a scene file: it holds more than " + ByteAmount(maxBytes));
    }
    if (in.bad())
        throw SceneError(name + ": cannot read the scene file");
    return text;
}

} // namespace

std::string ReadSceneText(std::istream& in, const std::string& name, std::uint64_t maxBytes) {
    return ReadBounded(in, name, maxBytes, true);
}

std::string ReadSceneFile(const std::filesystem::path& file, std::uint64_t maxBytes) {
    if (file == std::filesystem::path("-"))
        return ReadSceneText(std::cin, "standard input", maxBytes);
    const std::string name = file.string();
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(file, error);
    if (std::filesystem::is_directory(status))
        throw SceneError(name + ": cannot open the scene file: it is a directory");
    // A file says its size: one too large is refused before a byte is read.
    const bool regular = std::filesystem::is_regular_file(status);
    if (regular && std::filesystem::file_size(file, error) > maxBytes && !error)
        throw SceneError(name + ": not a scene file: it holds more than " + ByteAmount(maxBytes));
    errno = 0;
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        // The system's reason: no such file, no permission.
        const int reason = errno != 0 ? errno : error.value();
        throw SceneError(name + ": cannot open the scene file" +
                         (reason != 0 ? ": " + std::generic_category().message(reason) : std::string()));
    }
    return ReadBounded(in, name, maxBytes, !regular);
}

} // namespace host
