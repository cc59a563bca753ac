// The PNG swatch sheet, decoded by stb_image and checked pixel by pixel against the layout its header
// describes.
#include "host/export/swatch_sheet.h"

#include "export_test_support.h"
#include "test_files.h"

#include <gtest/gtest.h>

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#include "stb_image.h"

#include <memory>

namespace {

struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgba;

    const std::uint8_t* At(int x, int y) const {
        return &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
    }
    bool Is(int x, int y, int r, int g, int b) const {
        const std::uint8_t* p = At(x, y);
        return p[0] == r && p[1] == g && p[2] == b && p[3] == 255;
    }
};

Picture Decode(const std::string& bytes) {
    Picture picture;
    int channels = 0;
    std::unique_ptr<stbi_uc, void (*)(void*)> data(
        stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()), static_cast<int>(bytes.size()),
                              &picture.width, &picture.height, &channels, 4),
        stbi_image_free);
    EXPECT_NE(data, nullptr) << "not a PNG file the decoder reads: " << stbi_failure_reason();
    if (data)
        picture.rgba.assign(data.get(),
                            data.get() + static_cast<std::size_t>(picture.width) * picture.height * 4);
    return picture;
}

struct Colour {
    int r, g, b;
};

// Checks every pixel of every cell of the grid: the white lines, the colour, the share's strip (some grey
// text under a colour, white under an empty position) and the white cells past the last colour.
void ExpectSheet(const Picture& sheet, const std::vector<Colour>& colours) {
    const int count = static_cast<int>(colours.size());
    const int columns = std::min(count, host::kSwatchColumns);
    const int rows = (count + columns - 1) / columns;
    ASSERT_EQ(sheet.width, columns * host::kSwatchPitchX + 1);
    ASSERT_EQ(sheet.height, rows * host::kSwatchPitchY + 1);
    for (int x = 0; x < sheet.width; ++x)
        ASSERT_TRUE(sheet.Is(x, sheet.height - 1, 255, 255, 255)) << "bottom line at x " << x;
    for (int y = 0; y < sheet.height; ++y)
        ASSERT_TRUE(sheet.Is(sheet.width - 1, y, 255, 255, 255)) << "right line at y " << y;
    for (int i = 0; i < rows * columns; ++i) {
        const int left = (i % columns) * host::kSwatchPitchX, top = (i / columns) * host::kSwatchPitchY;
        const Colour c = i < count ? colours[static_cast<std::size_t>(i)] : Colour{255, 255, 255};
        int ink = 0;
        for (int y = top; y < top + host::kSwatchPitchY; ++y)
            for (int x = left; x < left + host::kSwatchPitchX; ++x) {
                const std::uint8_t* p = sheet.At(x, y);
                if (x == left || y == top) {
                    ASSERT_TRUE(sheet.Is(x, y, 255, 255, 255))
                        << "separator of cell " << i << " at " << x << ", " << y;
                } else if (y <= top + host::kSwatchColourHeight) {
                    ASSERT_TRUE(sheet.Is(x, y, c.r, c.g, c.b))
                        << "cell " << i << " at " << x << ", " << y << ": " << int{p[0]} << " " << int{p[1]}
                        << " " << int{p[2]} << " " << int{p[3]};
                } else {
                    ASSERT_TRUE(p[0] == p[1] && p[1] == p[2] && p[3] == 255) << "the share is grey on white";
                    ink += p[0] < 128 ? 1 : 0;
                }
            }
        if (i < count)
            EXPECT_GT(ink, 10) << "no share written under cell " << i;
        else
            EXPECT_EQ(ink, 0) << "white cell " << i << " has a label";
    }
}

host::PaletteExport Synthetic(int count) {
    host::PaletteExport palette;
    for (int i = 0; i < count; ++i) {
        PaletteEntry e;
        e.red = static_cast<std::uint16_t>(257 * (20 + 7 * i));
        e.green = static_cast<std::uint16_t>(257 * (200 - 5 * i));
        e.blue = static_cast<std::uint16_t>(257 * (60 + 3 * i) + 100); // rounds down to 60 + 3i
        e.count = static_cast<std::uint32_t>(i + 1);
        palette.samples += e.count;
        palette.palette.push_back(e);
    }
    return palette;
}

TEST(SwatchSheet, LaysCellsOutLikeTheRollout) {
    const ScratchFolder folder;
    for (const int count : {1, 25, 26}) {
        SCOPED_TRACE(std::to_string(count) + " colours");
        const std::filesystem::path file = folder / ("sheet-" + std::to_string(count) + ".png");
        host::SwatchSheet(Synthetic(count)).WritePng(file);
        std::vector<Colour> colours;
        for (int i = 0; i < count; ++i)
            colours.push_back({20 + 7 * i, 200 - 5 * i, 60 + 3 * i});
        ExpectSheet(Decode(ReadBytes(file)), colours);
    }
}

TEST(SwatchSheet, CommandWritesTheSheetOfAnImage) {
    const ScratchFolder folder;
    std::vector<Colour> colours;
    for (const export_test::Expected& e : export_test::GoldenChicky())
        colours.push_back({e.red, e.green, e.blue});
    ASSERT_EQ(colours.size(), 12u);
    ExpectSheet(Decode(export_test::ExportChicky(folder, "png")), colours);
}

} // namespace
