// The built-in typeface draws real, antialiased text where it is asked to and measures it consistently.
#include "host/draw/font.h"

#include <gtest/gtest.h>

namespace {

using host::Canvas;
using host::Font;
using host::Rgba8;

// The bounding box of the pixels that differ from the background, as {left, top, right, bottom}; all -1
// when none does.
std::array<int, 4> InkBox(const Canvas& canvas, Rgba8 background) {
    std::array<int, 4> box{-1, -1, -1, -1};
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x) {
            const Rgba8 p = canvas.Pixel(x, y);
            if (p.r == background.r && p.g == background.g && p.b == background.b)
                continue;
            box = box[0] < 0 ? std::array<int, 4>{x, y, x, y}
                             : std::array<int, 4>{std::min(box[0], x), std::min(box[1], y),
                                                  std::max(box[2], x), std::max(box[3], y)};
        }
    return box;
}

TEST(Font, DrawsInsideTheMeasuredBoxWithAntialiasing) {
    const Font& font = Font::Default();
    const Rgba8 black{0, 0, 0, 255};
    Canvas canvas(200, 60, black);
    const int width = font.TextWidth("Per Face", 20.0f);
    EXPECT_EQ(font.Draw(canvas, 10, 10, "Per Face", 20.0f, Rgba8{255, 255, 255, 255}), 10 + width);
    const std::array<int, 4> box = InkBox(canvas, black);
    ASSERT_GE(box[0], 0) << "nothing was drawn";
    EXPECT_GE(box[0], 10);
    EXPECT_LE(box[2], 10 + width);
    EXPECT_GE(box[1], 10);
    EXPECT_LE(box[3], 10 + 20 + 2) << "within the line's height";
    EXPECT_GE(box[3] - box[1], 10) << "capitals of a 20-pixel line are well over 10 pixels tall";
    bool partial = false;
    for (int y = box[1]; y <= box[3]; ++y)
        for (int x = box[0]; x <= box[2]; ++x)
            partial = partial || (canvas.Pixel(x, y).r > 0 && canvas.Pixel(x, y).r < 255);
    EXPECT_TRUE(partial) << "edges are antialiased";
}

TEST(Font, WidthsGrowWithTextAndSize) {
    const Font& font = Font::Default();
    EXPECT_EQ(font.TextWidth("", 16.0f), 0);
    EXPECT_LT(font.TextWidth("iii", 16.0f), font.TextWidth("WWW", 16.0f));
    EXPECT_LT(font.TextWidth("Mirror", 12.0f), font.TextWidth("Mirror", 24.0f));
    EXPECT_GT(font.TextWidth("\xC3\xA9", 16.0f), 0) << "UTF-8 text";
    EXPECT_GT(font.TextWidth("\xFF\xFE", 16.0f), 0) << "malformed bytes draw a replacement character";
}

TEST(Font, FitShortensWithAnEllipsis) {
    const Font& font = Font::Default();
    const std::string label = "VRay Instance (rnd) (V-Ray)";
    EXPECT_EQ(font.Fit(label, 14.0f, 1000), label);
    const int max = font.TextWidth(label, 14.0f) / 2;
    const std::string fitted = font.Fit(label, 14.0f, max);
    EXPECT_LE(font.TextWidth(fitted, 14.0f), max);
    ASSERT_GE(fitted.size(), 3u);
    EXPECT_EQ(fitted.substr(fitted.size() - 3), "...");
    EXPECT_EQ(label.rfind(fitted.substr(0, fitted.size() - 3), 0), 0u) << "the text's own start";
}

TEST(Canvas, ClipsEverythingToItsArea) {
    Canvas canvas(4, 3, Rgba8{1, 2, 3, 255});
    canvas.FillRect(-2, -2, 4, 4, Rgba8{9, 9, 9, 255});
    EXPECT_EQ(canvas.Pixel(1, 1).r, 9);
    EXPECT_EQ(canvas.Pixel(2, 1).r, 1);
    canvas.Blend(10, 10, Rgba8{}, 255);
    canvas.Blend(3, 2, Rgba8{255, 255, 255, 255}, 128);
    EXPECT_EQ(canvas.Pixel(3, 2).r, (1 * 127 + 255 * 128 + 127) / 255);
    canvas.Paste(3, 2, 2, 2, std::vector<std::uint8_t>(16, 200));
    EXPECT_EQ(canvas.Pixel(3, 2).g, 200);
    EXPECT_THROW(Canvas(-1, 5, Rgba8{}), std::length_error);
    EXPECT_THROW(Canvas(100000, 100000, Rgba8{}), std::length_error);
}

} // namespace
