#include "image_stb_guard.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace hostsdk::image {

namespace {

using Bytes = std::span<const unsigned char>;

std::uint32_t Big16(Bytes bytes, std::size_t at) {
    return std::uint32_t{bytes[at]} << 8 | bytes[at + 1];
}

std::uint32_t Big32(Bytes bytes, std::size_t at) {
    return Big16(bytes, at) << 16 | Big16(bytes, at + 2);
}

std::uint32_t Little16(Bytes bytes, std::size_t at) {
    return std::uint32_t{bytes[at + 1]} << 8 | bytes[at];
}

std::uint32_t Little32(Bytes bytes, std::size_t at) {
    return Little16(bytes, at + 2) << 16 | Little16(bytes, at);
}

bool StartsWith(Bytes bytes, std::string_view prefix) {
    return bytes.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), bytes.begin(),
                      [](char p, unsigned char b) { return static_cast<unsigned char>(p) == b; });
}

// Huffman tables by class (0 DC, 1 AC) and slot (0 to 3): whether the file defined each so far.
using HuffmanSlots = std::array<std::array<bool, 4>, 2>;

// The tables of a DHT segment whose declared length leaves `left` bytes from `at`, read as the decoder reads
// them: while bytes are left, a table of class and slot (1 byte), 16 code counts, then one symbol per code,
// read on past the segment (and as zeros past the file) when a table claims more than is left. Marks the
// tables defined; false when one has more than 256 codes, which the decoder writes past before it notices
// that the segment was too short.
bool ReadHuffmanTables(Bytes bytes, std::size_t at, std::int64_t left, HuffmanSlots& defined) {
    const auto byteAt = [&](std::size_t i) -> unsigned { return i < bytes.size() ? bytes[i] : 0u; };
    while (left > 0) {
        const unsigned kind = byteAt(at) >> 4, slot = byteAt(at) & 15;
        if (kind > 1 || slot > 3)
            return true; // refused by the decoder
        std::size_t codes = 0;
        for (std::size_t i = at + 1; i < at + 17; ++i)
            codes += byteAt(i);
        if (codes > 256)
            return false;
        defined[kind][slot] = true;
        at += 17 + codes;
        left -= static_cast<std::int64_t>(17 + codes);
    }
    return true;
}

// Quantisation tables (slots 0 to 3): whether the file defined each so far.
using QuantisationSlots = std::array<bool, 4>;

// Marks the tables of a DQT segment defined: each a slot and precision byte, then 64 values of one or two
// bytes. Malformed tables are the decoder's to refuse.
void ReadQuantisationTables(Bytes segment, QuantisationSlots& defined) {
    for (std::size_t at = 0; at < segment.size();) {
        const unsigned precision = segment[at] >> 4, slot = segment[at] & 15;
        if (precision > 1 || slot > 3)
            return;
        defined[slot] = true;
        at += 1 + 64 * (precision + 1);
    }
}

// A frame's components: their identifiers and the quantisation slot each names.
struct FrameComponent {
    unsigned id = 0;
    unsigned quantisation = 0;
};
using FrameComponents = std::vector<FrameComponent>;

FrameComponents ReadFrameComponents(Bytes segment) {
    FrameComponents components;
    if (segment.size() < 6)
        return components;
    for (std::size_t c = 0; c < segment[5] && 6 + 3 * c + 2 < segment.size(); ++c)
        components.push_back({segment[6 + 3 * c], segment[6 + 3 * c + 2]});
    return components;
}

// Whether the tables a scan (SOS segment) decodes with were defined: the decoder would read an undefined
// one uninitialised. Each component of a scan is dequantised with its frame component's table. A baseline
// scan uses both Huffman tables of each component; a progressive scan only the DC tables in a first DC
// scan and only the AC tables in an AC scan. Malformed scans are the decoder's to refuse.
bool ScanTablesDefined(Bytes segment, const HuffmanSlots& defined, const QuantisationSlots& quantisation,
                       const FrameComponents& frame, bool progressive) {
    if (segment.empty() || segment.size() < 4 + 2 * std::size_t{segment[0]})
        return true;
    for (std::size_t c = 0; c < segment[0]; ++c)
        for (const FrameComponent& component : frame)
            if (component.id == segment[1 + 2 * c] && component.quantisation <= 3 &&
                !quantisation[component.quantisation])
                return false;
    const std::size_t components = segment[0];
    const unsigned spectralStart = segment[1 + 2 * components];
    const unsigned approximationHigh = segment[3 + 2 * components] >> 4;
    const bool usesDc = !progressive || (spectralStart == 0 && approximationHigh == 0);
    const bool usesAc = !progressive || spectralStart != 0;
    for (std::size_t c = 0; c < components; ++c) {
        const unsigned dc = segment[2 + 2 * c] >> 4, ac = segment[2 + 2 * c] & 15;
        if (dc > 3 || ac > 3)
            continue;
        if ((usesDc && !defined[0][dc]) || (usesAc && !defined[1][ac]))
            return false;
    }
    return true;
}

bool IsRestartMarker(unsigned char marker) {
    return marker >= 0xD0 && marker <= 0xD7;
}

enum class JpegWalk { TableTooLarge, TableMissing, CutShort, Complete };

// Where the segments of a JPEG begin, after the start-of-image marker; 0 for a file that is no JPEG. The
// decoder takes any run of 0xFF fill bytes before that marker, as before every other.
std::size_t JpegSegments(Bytes bytes) {
    if (bytes.empty() || bytes[0] != 0xFF)
        return 0;
    std::size_t at = 1;
    while (at < bytes.size() && bytes[at] == 0xFF)
        ++at;
    return at < bytes.size() && bytes[at] == 0xD8 ? at + 1 : 0;
}

// The position of the first 0xFF byte from `at` on, or the size when there is none. Coded data is most of
// a large file, and memchr crosses it many times faster than a loop over its bytes.
std::size_t NextFF(Bytes bytes, std::size_t at) {
    const void* found = std::memchr(bytes.data() + at, 0xFF, bytes.size() - at);
    return found == nullptr
               ? bytes.size()
               : static_cast<std::size_t>(static_cast<const unsigned char*>(found) - bytes.data());
}

// Walks the segments up to the end-of-image marker, which a complete file has.
JpegWalk WalkJpeg(Bytes bytes) {
    std::size_t at = JpegSegments(bytes);
    HuffmanSlots defined{};
    QuantisationSlots quantisation{};
    FrameComponents frame;
    bool progressive = false;
    while (at < bytes.size()) {
        at = NextFF(bytes, at);
        while (at < bytes.size() && bytes[at] == 0xFF)
            ++at;
        if (at >= bytes.size())
            break;
        const unsigned char marker = bytes[at++];
        if (marker == 0xD9)
            return JpegWalk::Complete;
        if (marker == 0x00 || marker == 0x01 || marker == 0xD8 || IsRestartMarker(marker))
            continue;
        if (bytes.size() - at < 2)
            break;
        const std::size_t end =
            std::min<std::size_t>(bytes.size(), at + std::max<std::uint32_t>(Big16(bytes, at), 2));
        const Bytes segment = bytes.subspan(at + 2, end - (at + 2));
        if (marker == 0xC4 && !ReadHuffmanTables(bytes, at + 2, std::int64_t{Big16(bytes, at)} - 2, defined))
            return JpegWalk::TableTooLarge;
        if (marker == 0xDB)
            ReadQuantisationTables(segment, quantisation);
        // The decoder reads the first frame header only.
        if ((marker == 0xC0 || marker == 0xC1 || marker == 0xC2) && frame.empty()) {
            frame = ReadFrameComponents(segment);
            progressive = marker == 0xC2;
        }
        if (marker == 0xDA && !ScanTablesDefined(segment, defined, quantisation, frame, progressive))
            return JpegWalk::TableMissing;
        at = end;
        // A scan's coded data runs to the next marker other than a restart (0xFF 0x00 is a data byte).
        // Progressive files define further tables between scans, so the walk goes on after it.
        if (marker == 0xDA)
            for (at = NextFF(bytes, at);
                 at + 1 < bytes.size() && (bytes[at + 1] == 0 || IsRestartMarker(bytes[at + 1]));
                 at = NextFF(bytes, at + 1)) {
            }
    }
    return JpegWalk::CutShort;
}

bool IsJpeg(Bytes bytes) {
    return JpegSegments(bytes) != 0;
}

// Sides beyond the decoder's limit are its to refuse; below it, the byte counts here cannot overflow.
constexpr std::int64_t kMaxSide = 1 << 24;

bool BmpComplete(Bytes bytes) {
    if (bytes.size() < 30)
        return false;
    const std::uint64_t offset = Little32(bytes, 10);
    const std::uint32_t infoSize = Little32(bytes, 14);
    std::int64_t width, height;
    std::uint32_t bitsPerPixel, compression = 0;
    if (infoSize == 12) {
        width = Little16(bytes, 18);
        height = Little16(bytes, 20);
        bitsPerPixel = Little16(bytes, 24);
    } else {
        if (bytes.size() < 34)
            return false;
        width = static_cast<std::int32_t>(Little32(bytes, 18));
        height = static_cast<std::int32_t>(Little32(bytes, 22));
        bitsPerPixel = Little16(bytes, 28);
        compression = Little32(bytes, 30);
    }
    // The decoder refuses run-length encoding (1, 2) and methods from 4 up, but it reads the field as a
    // signed number and decodes negative values as plain rows: those must hold every row too.
    const auto method = static_cast<std::int32_t>(compression);
    if (method == 1 || method == 2 || method >= 4)
        return true;
    // Odd sizes and depths are the decoder's to refuse.
    if (width <= 0 || width > kMaxSide || height == 0 || height > kMaxSide || height < -kMaxSide ||
        bitsPerPixel == 0 || bitsPerPixel > 32)
        return true;
    // Rows are padded to 4 bytes; the last row's padding may be missing.
    const std::uint64_t rowBits = static_cast<std::uint64_t>(width) * bitsPerPixel;
    const std::uint64_t rowBytes = (rowBits + 31) / 32 * 4;
    const std::uint64_t rows = static_cast<std::uint64_t>(height < 0 ? -height : height);
    return offset + rowBytes * (rows - 1) + (rowBits + 7) / 8 <= bytes.size();
}

bool TgaComplete(Bytes bytes) {
    if (bytes.size() < 18)
        return false;
    const unsigned type = bytes[2];
    const std::uint64_t paletteBytes = bytes[1] != 0 ? Little16(bytes, 5) * ((bytes[7] + 7u) / 8) : 0;
    const std::uint64_t pixels = std::uint64_t{Little16(bytes, 12)} * Little16(bytes, 14);
    const std::uint64_t pixelBytes = (bytes[16] + 7u) / 8;
    std::uint64_t at = 18 + std::uint64_t{bytes[0]} + paletteBytes;
    if (type == 1 || type == 2 || type == 3)
        return at + pixels * pixelBytes <= bytes.size();
    if (type != 9 && type != 10 && type != 11)
        return true;
    // Packets: a header byte with a count of 1 to 128, then one repeated pixel or that many pixels.
    for (std::uint64_t done = 0; done < pixels;) {
        if (at >= bytes.size())
            return false;
        const unsigned header = bytes[at++];
        const unsigned count = (header & 0x7F) + 1;
        at += (header & 0x80) != 0 ? pixelBytes : pixelBytes * count;
        done += count;
    }
    return at <= bytes.size();
}

// One header line as the decoder reads it: up to the line feed, keeping at most 1023 bytes and never the
// file's last byte. It compares lines as C strings, so a line that starts with a NUL byte reads as empty.
struct HdrLine {
    std::string text;
    std::size_t next = 0;
};

HdrLine ReadHdrLine(Bytes bytes, std::size_t at) {
    constexpr std::size_t kKept = 1023;
    const auto get = [&] { return at < bytes.size() ? static_cast<char>(bytes[at++]) : '\0'; };
    HdrLine line;
    for (char c = get(); at < bytes.size() && c != '\n'; c = get()) {
        line.text += c;
        if (line.text.size() == kKept) {
            while (at < bytes.size() && get() != '\n') {
            }
            break;
        }
    }
    line.next = at;
    return line;
}

bool HdrComplete(Bytes bytes) {
    // After the signature line the header ends at a line that reads as empty; the resolution line follows.
    std::size_t at = ReadHdrLine(bytes, 0).next;
    for (HdrLine line = ReadHdrLine(bytes, at);; line = ReadHdrLine(bytes, at)) {
        at = line.next;
        if (line.text.empty() || line.text[0] == '\0')
            break;
    }
    const HdrLine resolution = ReadHdrLine(bytes, at);
    at = resolution.next;
    // Parsed as the decoder does, with its conversions: what it would refuse is left to it.
    const char* token = resolution.text.c_str();
    if (std::strncmp(token, "-Y ", 3) != 0)
        return true;
    char* end = nullptr;
    const int height = static_cast<int>(std::strtol(token + 3, &end, 10));
    while (*end == ' ')
        ++end;
    if (std::strncmp(end, "+X ", 3) != 0)
        return true;
    const int width = static_cast<int>(std::strtol(end + 3, nullptr, 10));
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide)
        return true;

    // Flat pixels: four bytes each. The decoder reads them when the width does not allow run-length
    // encoding, and also, from the first pixel on, when a scan line does not start like an encoded one.
    const std::uint64_t flatBytes =
        4 * static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
    if (width < 8 || width >= 32768)
        return flatBytes <= bytes.size() - at;
    for (int y = 0; y < height; ++y) {
        if (bytes.size() - at < 4)
            return false;
        if (bytes[at] != 2 || bytes[at + 1] != 2 || (bytes[at + 2] & 0x80) != 0)
            return flatBytes <= bytes.size() - at;
        if (Big16(bytes, at + 2) != static_cast<std::uint32_t>(width))
            return true;
        at += 4;
        // Each of the four channels of the line: runs (count above 128, one value) and literal spans.
        for (int channel = 0; channel < 4; ++channel)
            for (int x = 0; x < width;) {
                if (at >= bytes.size())
                    return false;
                const int count = bytes[at++];
                if (count == 0)
                    return false;
                x += count > 128 ? count - 128 : count;
                at += count > 128 ? 1 : static_cast<std::size_t>(count);
                if (at > bytes.size())
                    return false;
            }
    }
    return true;
}

} // namespace

bool JpegTablesFit(Bytes bytes) {
    return !IsJpeg(bytes) || WalkJpeg(bytes) != JpegWalk::TableTooLarge;
}

bool StbDataComplete(Bytes bytes) {
    // The decoder tries JPEG, PNG, BMP, HDR and finally TGA, which has no signature.
    if (IsJpeg(bytes))
        return WalkJpeg(bytes) == JpegWalk::Complete;
    if (StartsWith(bytes, "\x89PNG"))
        return true; // the decoder itself refuses a PNG cut short
    if (StartsWith(bytes, "BM"))
        return BmpComplete(bytes);
    if (StartsWith(bytes, "#?RADIANCE\n") || StartsWith(bytes, "#?RGBE\n"))
        return HdrComplete(bytes);
    return TgaComplete(bytes);
}

std::vector<unsigned char> PngWithoutEmptyData(Bytes bytes) {
    constexpr std::size_t kSignature = 8;
    if (!StartsWith(bytes, "\x89PNG\r\n\x1A\n"))
        return {};
    // A chunk: its length (4 bytes), its type (4), the data, then a checksum (4). The walk stops at a chunk
    // that claims more than the file holds; the rest is the decoder's to judge.
    const auto isEmptyData = [&](std::size_t at) {
        return Big32(bytes, at) == 0 && std::equal(bytes.begin() + at + 4, bytes.begin() + at + 8, "IDAT");
    };
    const auto chunkEnd = [&](std::size_t at) -> std::size_t {
        const std::uint32_t length = Big32(bytes, at);
        return length > bytes.size() - at - 8 ? bytes.size() : std::min(bytes.size(), at + 12 + length);
    };
    bool found = false;
    for (std::size_t at = kSignature; bytes.size() - at >= 8; at = chunkEnd(at))
        found = found || isEmptyData(at);
    if (!found)
        return {};
    std::vector<unsigned char> kept(bytes.begin(), bytes.begin() + kSignature);
    std::size_t at = kSignature;
    for (; bytes.size() - at >= 8; at = chunkEnd(at))
        if (!isEmptyData(at))
            kept.insert(kept.end(), bytes.begin() + at, bytes.begin() + chunkEnd(at));
    kept.insert(kept.end(), bytes.begin() + at, bytes.end());
    return kept;
}

} // namespace hostsdk::image
