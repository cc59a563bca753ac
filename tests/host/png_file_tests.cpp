#include "host/render/png_file.h"

#include "render_test_support.h"

#include "hostsdk/bitmap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

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
    const render_test::TempFile file("picture.png");
    const std::vector<std::uint8_t> bytes = host::ToRgba8(frame);
    host::WritePng(file.Path(), frame.width, frame.height, bytes);

    BitmapInfo info;
    info.SetName(file.Path().wstring().c_str());
    BMMRES status = 1;
    std::unique_ptr<Bitmap, void (*)(Bitmap*)> bitmap(TheManager->Load(&info, &status), [](Bitmap* b) {
        if (b != nullptr)
            b->DeleteThis();
    });
    ASSERT_EQ(status, 0);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(info.Width(), 37);
    EXPECT_EQ(info.Height(), 11);
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x) {
            BMM_Color_fl pixel;
            ASSERT_NE(bitmap->GetLinearPixels(x, y, 1, &pixel), 0);
            const std::size_t i = 4 * static_cast<std::size_t>(y * frame.width + x);
            ASSERT_EQ(pixel.r, static_cast<float>(bytes[i]) / 255.0f) << x << ", " << y;
            ASSERT_EQ(pixel.g, static_cast<float>(bytes[i + 1]) / 255.0f);
            ASSERT_EQ(pixel.b, static_cast<float>(bytes[i + 2]) / 255.0f);
            ASSERT_EQ(pixel.a, static_cast<float>(bytes[i + 3]) / 255.0f);
        }
}

TEST(PngFile, UnwritableFilesAreNamedInTheError) {
    const std::vector<std::uint8_t> pixel = {1, 2, 3, 4};
    const std::filesystem::path missing =
        std::filesystem::temp_directory_path() / "no-such-folder-chromasift" / "a.png";
    try {
        host::WritePng(missing, 1, 1, pixel);
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("a.png"), std::string::npos) << e.what();
    }
    EXPECT_THROW(host::WritePng(missing, 2, 1, pixel), std::runtime_error) << "too few pixels";
}

} // namespace
