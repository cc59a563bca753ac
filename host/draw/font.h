#pragma once

// Text for the pictures the host writes, drawn with a real typeface (DejaVu Sans, built into the program)
// and antialiased.
#include "host/draw/canvas.h"

#include <memory>
#include <string_view>

namespace host {

class Font {
public:
    // The built-in typeface; loaded once, shared by every thread.
    static const Font& Default();

    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // The advance width in pixels of UTF-8 text at a pixel height (ascent to descent).
    int TextWidth(std::string_view utf8, float pixelHeight) const;
    // Draws UTF-8 text with the top of its line box at y; returns the x after the last character.
    int Draw(Canvas& canvas, int x, int y, std::string_view utf8, float pixelHeight, Rgba8 colour) const;
    // Text that fits into maxWidth pixels: the text itself, or its start followed by "...".
    std::string Fit(std::string_view utf8, float pixelHeight, int maxWidth) const;

private:
    struct Face;
    explicit Font(std::unique_ptr<Face> face);
    std::unique_ptr<Face> face;
};

} // namespace host
