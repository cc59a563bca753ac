#include "host/draw/font.h"

#include "host/draw/font_data.h"

#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#define STB_TRUETYPE_IMPLEMENTATION
#define STBTT_STATIC
#include <stb_truetype.h>

namespace host {

namespace {

// Decodes one code point from UTF-8 and advances `i`; malformed bytes read as U+FFFD, one byte each.
int NextCodepoint(std::string_view text, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    int length = lead < 0x80           ? 1
                 : (lead >> 5) == 0x6  ? 2
                 : (lead >> 4) == 0xE  ? 3
                 : (lead >> 3) == 0x1E ? 4
                                       : 0;
    if (length == 0 || i + length > text.size()) {
        ++i;
        return 0xFFFD;
    }
    int codepoint = length == 1 ? lead : lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        codepoint = (codepoint << 6) | (byte(i + k) & 0x3F);
    }
    i += length;
    return codepoint;
}

} // namespace

struct Font::Face {
    stbtt_fontinfo info{};
    int ascent = 0, descent = 0, lineGap = 0;

    float Scale(float pixelHeight) const { return stbtt_ScaleForPixelHeight(&info, pixelHeight); }
};

Font::Font(std::unique_ptr<Face> face) : face(std::move(face)) {}

Font::~Font() = default;

const Font& Font::Default() {
    static const Font font = [] {
        auto face = std::make_unique<Face>();
        if (stbtt_InitFont(&face->info, kFontData, stbtt_GetFontOffsetForIndex(kFontData, 0)) == 0)
            throw std::runtime_error("the built-in typeface cannot be read");
        stbtt_GetFontVMetrics(&face->info, &face->ascent, &face->descent, &face->lineGap);
        return Font(std::move(face));
    }();
    return font;
}

int Font::TextWidth(std::string_view utf8, float pixelHeight) const {
    const float scale = face->Scale(pixelHeight);
    float x = 0.0f;
    int previous = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const int codepoint = NextCodepoint(utf8, i);
        int advance = 0, bearing = 0;
        stbtt_GetCodepointHMetrics(&face->info, codepoint, &advance, &bearing);
        if (previous != 0)
            x += scale * static_cast<float>(stbtt_GetCodepointKernAdvance(&face->info, previous, codepoint));
        x += scale * static_cast<float>(advance);
        previous = codepoint;
    }
    return static_cast<int>(std::ceil(x));
}

int Font::Draw(Canvas& canvas, int x, int y, std::string_view utf8, float pixelHeight, Rgba8 colour) const {
    const float scale = face->Scale(pixelHeight);
    const int baseline = y + static_cast<int>(std::lround(scale * static_cast<float>(face->ascent)));
    float pen = static_cast<float>(x);
    int previous = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const int codepoint = NextCodepoint(utf8, i);
        if (previous != 0)
            pen +=
                scale * static_cast<float>(stbtt_GetCodepointKernAdvance(&face->info, previous, codepoint));
        const float whole = std::floor(pen);
        int w = 0, h = 0, left = 0, top = 0;
        unsigned char* glyph = stbtt_GetCodepointBitmapSubpixel(&face->info, scale, scale, pen - whole, 0.0f,
                                                                codepoint, &w, &h, &left, &top);
        for (int row = 0; row < h; ++row)
            for (int column = 0; column < w; ++column)
                canvas.Blend(static_cast<int>(whole) + left + column, baseline + top + row, colour,
                             glyph[row * w + column]);
        stbtt_FreeBitmap(glyph, nullptr);
        int advance = 0, bearing = 0;
        stbtt_GetCodepointHMetrics(&face->info, codepoint, &advance, &bearing);
        pen += scale * static_cast<float>(advance);
        previous = codepoint;
    }
    return static_cast<int>(std::ceil(pen));
}

std::string Font::Fit(std::string_view utf8, float pixelHeight, int maxWidth) const {
    if (TextWidth(utf8, pixelHeight) <= maxWidth)
        return std::string(utf8);
    // Shorten by whole code points until the text and its ellipsis fit.
    std::vector<std::size_t> ends;
    for (std::size_t i = 0; i < utf8.size();) {
        NextCodepoint(utf8, i);
        ends.push_back(i);
    }
    while (!ends.empty()) {
        ends.pop_back();
        std::string shorter(utf8.substr(0, ends.empty() ? 0 : ends.back()));
        shorter += "...";
        if (TextWidth(shorter, pixelHeight) <= maxWidth || ends.empty())
            return shorter;
    }
    return "...";
}

} // namespace host
