#include "host/draw/png_file.h"
#include "host/render/scene_renderer.h"

#include "render_test_support.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(PngFile, BytesRoundToTheNearestLevel) {
    EXPECT_EQ(host::ToByte(0.0f), 0);
    EXPECT_EQ(host::ToByte(-3.0f), 0);
    EXPECT_EQ(host::ToByte(std::nanf("")), 0);
    EXPECT_EQ(host::ToByte(1.0f), 255);
    EXPECT_EQ(host::ToByte(7.5f), 255);
    EXPECT_EQ(host::ToByte(0.5f / 255.0f), 1) << "half a level rounds up";
    EXPECT_EQ(host::ToByte(0.49f / 255.0f), 0);
    for (int level = 0; level < 256; ++level)
        ASSERT_EQ(host::ToByte(static_cast<float>(level) / 255.0f), level) << "every level survives";
}

TEST(PngFile, WrittenPicturesReadBackPixelForPixel) {
    host::FrameBuffer frame;
    frame.width = 37;
    frame.height = 11;
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x)
            frame.colour.push_back(AColor(static_cast<float>(x) / 36.0f, static_cast<float>(y) / 10.0f,
                                          static_cast<float>((x * 7 + y * 13) % 256) / 255.0f,
                                          (x + y) % 3 == 0 ? 0.0f : 1.0f));
    const ScratchFolder folder;
    const std::vector<std::uint8_t> bytes = host::ToRgba8(frame);
    host::WritePng(folder / "picture.png", frame.width, frame.height, bytes);

    const render_test::Picture picture(folder / "picture.png");
    ASSERT_TRUE(picture.Loaded());
    EXPECT_EQ(picture.Width(), 37);
    EXPECT_EQ(picture.Height(), 11);
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x) {
            const std::size_t i = 4 * static_cast<std::size_t>(y * frame.width + x);
            const auto level = [&](std::size_t k) { return static_cast<float>(bytes[i + k]) / 255.0f; };
            ASSERT_EQ(picture.Pixel(x, y), AColor(level(0), level(1), level(2), level(3))) << x << ", " << y;
        }
}

TEST(PngFile, RefusesTooFewPixels) {
    const ScratchFolder folder;
    EXPECT_THROW(host::WritePng(folder / "a.png", 2, 1, {1, 2, 3, 4}), std::runtime_error);
}

} // namespace
