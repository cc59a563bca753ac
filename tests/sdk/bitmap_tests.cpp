#include "hostsdk/bitmap.h"

#include "test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

namespace {

// ---- Small image files written byte by byte, so each test knows every stored value.

void PutBig32(Bytes& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void PutLittle(Bytes& out, std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void PutFloat(Bytes& out, float v) {
    PutLittle(out, std::bit_cast<std::uint32_t>(v), 4);
}

void PutString(Bytes& out, const std::string& s) {
    out.insert(out.end(), s.begin(), s.end() + 1);
}

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void PutPngChunk(Bytes& png, const char* type, const Bytes& data) {
    PutBig32(png, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), data.begin(), data.end());
    PutBig32(png, Crc32(png.data() + start, png.size() - start));
}

// A PNG with unfiltered rows in stored (uncompressed) deflate blocks; `rows` holds the raw row bytes.
Bytes Png(std::uint32_t width, std::uint32_t height, std::uint8_t depth, std::uint8_t colourType,
          const Bytes& rows, const Bytes& palette = {}, const Bytes& transparency = {}) {
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    PutBig32(header, width);
    PutBig32(header, height);
    header.insert(header.end(), {depth, colourType, 0, 0, 0});
    PutPngChunk(png, "IHDR", header);
    if (!palette.empty())
        PutPngChunk(png, "PLTE", palette);
    if (!transparency.empty())
        PutPngChunk(png, "tRNS", transparency);
    if (!rows.empty()) {
        Bytes raw;
        const std::size_t rowBytes = rows.size() / height;
        for (std::uint32_t y = 0; y < height; ++y) {
            raw.push_back(0);
            raw.insert(raw.end(), rows.begin() + y * rowBytes, rows.begin() + (y + 1) * rowBytes);
        }
        Bytes zlib = {0x78, 0x01};
        std::uint32_t a = 1, b = 0;
        for (std::uint8_t v : raw)
            a = (a + v) % 65521, b = (b + a) % 65521;
        for (std::size_t at = 0; at < raw.size(); at += 65535) {
            const std::size_t n = std::min<std::size_t>(65535, raw.size() - at);
            zlib.push_back(at + n == raw.size() ? 1 : 0);
            PutLittle(zlib, n, 2);
            PutLittle(zlib, ~n & 0xFFFF, 2);
            zlib.insert(zlib.end(), raw.begin() + at, raw.begin() + at + n);
        }
        PutBig32(zlib, b << 16 | a);
        PutPngChunk(png, "IDAT", zlib);
    }
    PutPngChunk(png, "IEND", {});
    return png;
}

Bytes Big16(std::initializer_list<std::uint16_t> values) {
    Bytes out;
    for (std::uint16_t v : values)
        out.insert(out.end(), {static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)});
    return out;
}

// An uncompressed scan-line EXR of 32-bit float channels (names in alphabetical order, as stored), data
// window starting at (x0, y0), display window 100 x 100. `planes[c]` holds channel c row by row.
Bytes Exr(int x0, int y0, int width, int height, const std::vector<std::string>& names,
          const std::vector<std::vector<float>>& planes) {
    Bytes exr = {0x76, 0x2F, 0x31, 0x01, 2, 0, 0, 0};
    const auto attribute = [&](const char* name, const char* type, const Bytes& value) {
        PutString(exr, name);
        PutString(exr, type);
        PutLittle(exr, value.size(), 4);
        exr.insert(exr.end(), value.begin(), value.end());
    };
    Bytes channels, window, display, one, zero8;
    for (const std::string& name : names) {
        PutString(channels, name);
        PutLittle(channels, 2, 4); // FLOAT
        PutLittle(channels, 0, 4); // linear flag and reserved bytes
        PutLittle(channels, 1, 4);
        PutLittle(channels, 1, 4);
    }
    channels.push_back(0);
    for (int v : {x0, y0, x0 + width - 1, y0 + height - 1})
        PutLittle(window, static_cast<std::uint32_t>(v), 4);
    for (int v : {0, 0, 99, 99})
        PutLittle(display, static_cast<std::uint32_t>(v), 4);
    PutFloat(one, 1.0f);
    PutLittle(zero8, 0, 8);
    attribute("channels", "chlist", channels);
    attribute("compression", "compression", {0});
    attribute("dataWindow", "box2i", window);
    attribute("displayWindow", "box2i", display);
    attribute("lineOrder", "lineOrder", {0});
    attribute("pixelAspectRatio", "float", one);
    attribute("screenWindowCenter", "v2f", zero8);
    attribute("screenWindowWidth", "float", one);
    exr.push_back(0);
    const std::size_t lineBytes = 8 + names.size() * 4 * static_cast<std::size_t>(width);
    const std::size_t firstLine = exr.size() + 8 * static_cast<std::size_t>(height);
    for (int y = 0; y < height; ++y)
        PutLittle(exr, firstLine + y * lineBytes, 8);
    for (int y = 0; y < height; ++y) {
        PutLittle(exr, static_cast<std::uint32_t>(y0 + y), 4);
        PutLittle(exr, lineBytes - 8, 4);
        for (const std::vector<float>& plane : planes)
            for (int x = 0; x < width; ++x)
                PutFloat(exr, plane[static_cast<std::size_t>(y * width + x)]);
    }
    return exr;
}

// A 2 x 2 bitmap of 24-bit pixels, bottom row first.
Bytes Bmp() {
    Bytes bmp = {'B', 'M'};
    PutLittle(bmp, 54 + 16, 4);
    PutLittle(bmp, 0, 4);
    PutLittle(bmp, 54, 4);
    for (std::uint64_t v : {40, 2, 2, 1 | 24 << 16, 0, 16, 2835, 2835, 0, 0})
        PutLittle(bmp, v, 4);
    bmp.insert(bmp.end(), {1, 2, 3, 4, 5, 6, 0, 0, 10, 20, 30, 40, 50, 60, 0, 0});
    return bmp;
}

Bytes Truncated(Bytes bytes, std::size_t drop) {
    bytes.resize(bytes.size() - drop);
    return bytes;
}

// ---- Loading

struct Loaded {
    BitmapInfo info;
    BitmapPtr bitmap;
    BMMRES status = 0xFFFF;
};

Loaded Load(const fs::path& path) {
    Loaded loaded;
    loaded.info.SetName(path.wstring().c_str());
    loaded.bitmap.reset(TheManager->Load(&loaded.info, &loaded.status));
    return loaded;
}

using Rgba = std::array<float, 4>;

// The pixel at (x, y) as red, green, blue and alpha; NaNs when it cannot be read.
Rgba At(const Bitmap& bitmap, int x, int y) {
    BMM_Color_fl pixel{NAN, NAN, NAN, NAN};
    bitmap.GetLinearPixels(x, y, 1, &pixel);
    return {pixel.r, pixel.g, pixel.b, pixel.a};
}

class BitmapFiles : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::temp_directory_path() /
              (std::string("bitmap_tests_") + test->name() + "_" + std::to_string(std::random_device{}()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    fs::path Write(const fs::path& name, const Bytes& bytes) const {
        std::ofstream(dir / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return dir / name;
    }

    fs::path dir;
};

Bytes ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

fs::path TestImage(const std::string& name) {
    return TestDataFile("images/" + name);
}

} // namespace

TEST(BitmapManager, LoadsSampleImagesWithTheirSizes) {
    const struct {
        const char* file;
        int width, height;
    } images[] = {{"Aqua.jpg", 2560, 1600},         {"FreshFlower.jpg", 1600, 1203},
                  {"Silk.png", 1600, 1200},         {"Waves.png", 1600, 1200},
                  {"YellowFlower.jpg", 2560, 1600}, {"chicky_512.png", 512, 512},
                  {"rubberwhale1.png", 584, 388},   {"starry_night.jpg", 752, 600}};
    for (const auto& image : images) {
        SCOPED_TRACE(image.file);
        const Loaded loaded = Load(TestImage(image.file));
        EXPECT_EQ(loaded.status, BMMRES_SUCCESS);
        ASSERT_NE(loaded.bitmap, nullptr);
        EXPECT_NE(loaded.bitmap->Storage(), nullptr);
        EXPECT_EQ(loaded.bitmap->Width(), image.width);
        EXPECT_EQ(loaded.bitmap->Height(), image.height);
        EXPECT_EQ(loaded.info.Width(), image.width);
        EXPECT_EQ(loaded.info.Height(), image.height);
        // Kept at the decoded depth: a quarter of the memory of floats.
        EXPECT_EQ(loaded.bitmap->Storage()->Channels(), BitmapChannels::UInt8);
    }
    // An RGB file without alpha reads as opaque everywhere.
    const Loaded rgb = Load(TestImage("rubberwhale1.png"));
    ASSERT_NE(rgb.bitmap, nullptr);
    std::vector<BMM_Color_fl> row(584);
    ASSERT_EQ(rgb.bitmap->GetLinearPixels(0, 200, 584, row.data()), 1);
    for (const BMM_Color_fl& pixel : row)
        ASSERT_EQ(pixel.a, 1.0f);
}

TEST_F(BitmapFiles, EightBitChannelsAreDividedBy255) {
    Bytes rgb;
    for (int v = 0; v < 256; ++v)
        rgb.insert(rgb.end(), {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(255 - v), 7});
    const Loaded loaded = Load(Write("ramp.png", Png(256, 1, 8, 2, rgb)));
    ASSERT_EQ(loaded.status, BMMRES_SUCCESS);
    EXPECT_EQ(loaded.bitmap->Storage()->Channels(), BitmapChannels::UInt8);
    for (int v = 0; v < 256; ++v)
        EXPECT_EQ(At(*loaded.bitmap, v, 0), (Rgba{v / 255.0f, (255 - v) / 255.0f, 7 / 255.0f, 1.0f}));

    // Grey with alpha: grey goes to red, green and blue.
    const Loaded greyAlpha = Load(Write("grey_alpha.png", Png(2, 1, 8, 4, {10, 20, 200, 0})));
    ASSERT_EQ(greyAlpha.status, BMMRES_SUCCESS);
    EXPECT_EQ(At(*greyAlpha.bitmap, 0, 0), (Rgba{10 / 255.0f, 10 / 255.0f, 10 / 255.0f, 20 / 255.0f}));
    EXPECT_EQ(At(*greyAlpha.bitmap, 1, 0), (Rgba{200 / 255.0f, 200 / 255.0f, 200 / 255.0f, 0.0f}));

    // Palette with a transparency entry for its first colour only.
    const Loaded indexed =
        Load(Write("indexed.png", Png(3, 1, 8, 3, {1, 0, 1}, {1, 2, 3, 250, 128, 0}, {64})));
    ASSERT_EQ(indexed.status, BMMRES_SUCCESS);
    EXPECT_EQ(At(*indexed.bitmap, 0, 0), (Rgba{250 / 255.0f, 128 / 255.0f, 0.0f, 1.0f}));
    EXPECT_EQ(At(*indexed.bitmap, 1, 0), (Rgba{1 / 255.0f, 2 / 255.0f, 3 / 255.0f, 64 / 255.0f}));

    // BMP rows are stored bottom-up, blue first; TGA here is top-down (descriptor bit 5) with alpha.
    const Loaded bmpLoaded = Load(Write("two.bmp", Bmp()));
    ASSERT_EQ(bmpLoaded.status, BMMRES_SUCCESS);
    EXPECT_EQ(At(*bmpLoaded.bitmap, 0, 0), (Rgba{30 / 255.0f, 20 / 255.0f, 10 / 255.0f, 1.0f}));
    EXPECT_EQ(At(*bmpLoaded.bitmap, 1, 1), (Rgba{6 / 255.0f, 5 / 255.0f, 4 / 255.0f, 1.0f}));

    const Bytes tga = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 1, 0, 32, 0x28, 9, 8, 7, 6, 90, 80, 70, 60};
    const Loaded tgaLoaded = Load(Write("two.tga", tga));
    ASSERT_EQ(tgaLoaded.status, BMMRES_SUCCESS);
    EXPECT_EQ(At(*tgaLoaded.bitmap, 0, 0), (Rgba{7 / 255.0f, 8 / 255.0f, 9 / 255.0f, 6 / 255.0f}));
    EXPECT_EQ(At(*tgaLoaded.bitmap, 1, 0), (Rgba{70 / 255.0f, 80 / 255.0f, 90 / 255.0f, 60 / 255.0f}));
}

TEST_F(BitmapFiles, EmptyDataChunksAddNothing) {
    // An empty data chunk before the first one with data (the decoder mishandled one there), and one after.
    const Bytes plain = Png(2, 1, 8, 4, {10, 20, 200, 0});
    const std::size_t afterHeader = 8 + 12 + 13;
    Bytes padded(plain.begin(), plain.begin() + afterHeader);
    PutPngChunk(padded, "IDAT", {});
    const std::size_t dataEnd = plain.size() - 12;
    padded.insert(padded.end(), plain.begin() + afterHeader, plain.begin() + dataEnd);
    PutPngChunk(padded, "IDAT", {});
    padded.insert(padded.end(), plain.begin() + dataEnd, plain.end());

    const Loaded loaded = Load(Write("padded.png", padded));
    ASSERT_EQ(loaded.status, BMMRES_SUCCESS);
    EXPECT_EQ(At(*loaded.bitmap, 0, 0), (Rgba{10 / 255.0f, 10 / 255.0f, 10 / 255.0f, 20 / 255.0f}));
    EXPECT_EQ(At(*loaded.bitmap, 1, 0), (Rgba{200 / 255.0f, 200 / 255.0f, 200 / 255.0f, 0.0f}));
}

TEST_F(BitmapFiles, SixteenBitChannelsKeepTheirDepth) {
    // 1 and 65534 would become 0 and 255 at 8 bits.
    const Loaded rgba =
        Load(Write("rgba16.png", Png(2, 1, 16, 6, Big16({1, 257, 32768, 65535, 65534, 0, 12345, 2}))));
    ASSERT_EQ(rgba.status, BMMRES_SUCCESS);
    EXPECT_EQ(rgba.bitmap->Storage()->Channels(), BitmapChannels::UInt16);
    EXPECT_EQ(At(*rgba.bitmap, 0, 0), (Rgba{1 / 65535.0f, 257 / 65535.0f, 32768 / 65535.0f, 1.0f}));
    EXPECT_EQ(At(*rgba.bitmap, 1, 0), (Rgba{65534 / 65535.0f, 0.0f, 12345 / 65535.0f, 2 / 65535.0f}));

    const Loaded grey = Load(Write("grey16.png", Png(1, 2, 16, 0, Big16({40000, 3}))));
    ASSERT_EQ(grey.status, BMMRES_SUCCESS);
    EXPECT_EQ(At(*grey.bitmap, 0, 0), (Rgba{40000 / 65535.0f, 40000 / 65535.0f, 40000 / 65535.0f, 1.0f}));
    EXPECT_EQ(At(*grey.bitmap, 0, 1), (Rgba{3 / 65535.0f, 3 / 65535.0f, 3 / 65535.0f, 1.0f}));
}

TEST_F(BitmapFiles, EverySixteenBitValueAndOddSizesReadAsBefore) {
    // 256 x 256 grey pixels holding each 16-bit value once: every one reads as its division by 65535 in
    // red, green and blue, with an opaque alpha.
    Bytes rows;
    for (std::uint32_t v = 0; v < 65536; ++v)
        rows.insert(rows.end(), {static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)});
    const Loaded grey = Load(Write("ramp16.png", Png(256, 256, 16, 0, rows)));
    ASSERT_EQ(grey.status, BMMRES_SUCCESS);
    std::vector<BMM_Color_fl> all(65536);
    ASSERT_EQ(grey.bitmap->GetLinearPixels(0, 0, 65536, all.data()), 1);
    for (std::uint32_t v = 0; v < 65536; ++v) {
        const float expected = static_cast<float>(v) / 65535.0f;
        ASSERT_EQ((Rgba{all[v].r, all[v].g, all[v].b, all[v].a}), (Rgba{expected, expected, expected, 1.0f}))
            << "value " << v;
    }

    // A 1 x 1 and a 3 x 3 16-bit RGB file (no alpha: opaque) and a 5 x 3 8-bit RGBA one, every pixel
    // checked; rows of odd widths are not padded in the bitmap.
    const Loaded single = Load(Write("one16.png", Png(1, 1, 16, 2, Big16({65535, 1, 30000}))));
    ASSERT_EQ(single.status, BMMRES_SUCCESS);
    EXPECT_EQ(At(*single.bitmap, 0, 0), (Rgba{1.0f, 1 / 65535.0f, 30000 / 65535.0f, 1.0f}));
    Bytes rgb16, rgba8;
    for (std::uint32_t i = 0; i < 27; ++i)
        rgb16.insert(rgb16.end(), {static_cast<std::uint8_t>(i * 9), static_cast<std::uint8_t>(i * 77)});
    for (std::uint32_t i = 0; i < 60; ++i)
        rgba8.push_back(static_cast<std::uint8_t>(i * 53 + 7));
    const Loaded odd16 = Load(Write("odd16.png", Png(3, 3, 16, 2, rgb16)));
    const Loaded odd8 = Load(Write("odd8.png", Png(5, 3, 8, 6, rgba8)));
    ASSERT_EQ(odd16.status, BMMRES_SUCCESS);
    ASSERT_EQ(odd8.status, BMMRES_SUCCESS);
    const auto word = [&](std::size_t channel) {
        return static_cast<float>(rgb16[channel * 2] << 8 | rgb16[channel * 2 + 1]) / 65535.0f;
    };
    const auto byte = [&](std::size_t channel) { return static_cast<float>(rgba8[channel]) / 255.0f; };
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            const std::size_t at = static_cast<std::size_t>(y * 3 + x) * 3;
            EXPECT_EQ(At(*odd16.bitmap, x, y), (Rgba{word(at), word(at + 1), word(at + 2), 1.0f}));
        }
        for (int x = 0; x < 5; ++x) {
            const std::size_t at = static_cast<std::size_t>(y * 5 + x) * 4;
            EXPECT_EQ(At(*odd8.bitmap, x, y), (Rgba{byte(at), byte(at + 1), byte(at + 2), byte(at + 3)}));
        }
    }

    // Grey and alpha at 16 bits: the alpha is kept, and no gamma curve touches the grey.
    const Loaded greyAlpha = Load(Write("grey_alpha16.png", Png(1, 1, 16, 4, Big16({32768, 16384}))));
    ASSERT_EQ(greyAlpha.status, BMMRES_SUCCESS);
    EXPECT_EQ(At(*greyAlpha.bitmap, 0, 0),
              (Rgba{32768 / 65535.0f, 32768 / 65535.0f, 32768 / 65535.0f, 16384 / 65535.0f}));
}

TEST_F(BitmapFiles, FloatingPointFilesPassThrough) {
    // Radiance RGBE: a shared exponent 2^-5 with mantissas 128, 32 and 16 stores 4, 1 and 0.5 exactly.
    const std::string header = "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 1 +X 2\n";
    Bytes hdr(header.begin(), header.end());
    hdr.insert(hdr.end(), {128, 32, 16, 131, 16, 128, 32, 131});
    const Loaded radiance = Load(Write("values.hdr", hdr));
    ASSERT_EQ(radiance.status, BMMRES_SUCCESS);
    EXPECT_EQ(radiance.bitmap->Storage()->Channels(), BitmapChannels::Float);
    EXPECT_EQ(At(*radiance.bitmap, 0, 0), (Rgba{4.0f, 1.0f, 0.5f, 1.0f}));
    EXPECT_EQ(At(*radiance.bitmap, 1, 0), (Rgba{0.5f, 4.0f, 1.0f, 1.0f}));

    // EXR with a data window away from the origin, no alpha channel, values outside 0..1.
    const Bytes exr =
        Exr(-3, 5, 2, 2, {"B", "G", "R"},
            {{0.25f, 0.0f, 1.0f, 7.5f}, {-2.0f, 0.125f, 3.0f, 0.5f}, {100.0f, 1e-6f, 2.5f, 0.0f}});
    const Loaded openExr = Load(Write("values.exr", exr));
#if defined(_WIN32)
    EXPECT_EQ(openExr.status, BMMRES_NODRIVER);
    EXPECT_EQ(openExr.bitmap, nullptr);
#else
    ASSERT_EQ(openExr.status, BMMRES_SUCCESS);
    EXPECT_EQ(openExr.info.Width(), 2);
    EXPECT_EQ(openExr.info.Height(), 2);
    EXPECT_EQ(openExr.bitmap->Storage()->Channels(), BitmapChannels::Float);
    EXPECT_EQ(At(*openExr.bitmap, 0, 0), (Rgba{100.0f, -2.0f, 0.25f, 1.0f}));
    EXPECT_EQ(At(*openExr.bitmap, 1, 0), (Rgba{1e-6f, 0.125f, 0.0f, 1.0f}));
    EXPECT_EQ(At(*openExr.bitmap, 1, 1), (Rgba{0.0f, 0.5f, 7.5f, 1.0f}));

    const Loaded grey = Load(Write("grey.exr", Exr(0, 0, 1, 1, {"A", "Y"}, {{0.5f}, {3.25f}})));
    ASSERT_EQ(grey.status, BMMRES_SUCCESS);
    EXPECT_EQ(At(*grey.bitmap, 0, 0), (Rgba{3.25f, 3.25f, 3.25f, 0.5f}));
#endif
}

TEST_F(BitmapFiles, UnreadableFilesGiveNonzeroStatus) {
    const Bytes silk = ReadAll(TestImage("Silk.png"));
    const Bytes starry = ReadAll(TestImage("starry_night.jpg"));
    // An encoded HDR line whose first span is empty, and a JPEG table claiming 17 x 255 codes.
    const std::string hdrHeader = "#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 1 +X 8\n";
    Bytes emptyRun(hdrHeader.begin(), hdrHeader.end());
    emptyRun.insert(emptyRun.end(), {2, 2, 0, 8, 0, 1, 2, 3});
    // A header line that starts with a NUL byte ends the header just as an empty one does; an empty line
    // further on must not be taken for the header's end. The 2 x 4 flat pixels need 32 bytes.
    const std::string nulLineHeader = std::string("#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n") + '\0' +
                                      " rest of the line\n-Y 2 +X 4\n" + "RGBE" + "\n\nnot a size\n";
    const Bytes nulLineEndsHeader(nulLineHeader.begin(), nulLineHeader.end());
    Bytes bigTable = {0xFF, 0xD8, 0xFF, 0xC4, 0x00, 19, 0x00};
    bigTable.insert(bigTable.end(), 16, 255);
    // The same table in a segment declared too short: the decoder reads the table past the segment's end.
    Bytes shortSegment = bigTable;
    shortSegment[5] = 4;
    // A scan whose first component names AC table 3, which the file never defines.
    Bytes undefinedTable = starry;
    const std::array<std::uint8_t, 2> scanMarker = {0xFF, 0xDA};
    const auto scan =
        std::search(undefinedTable.begin(), undefinedTable.end(), scanMarker.begin(), scanMarker.end());
    ASSERT_NE(scan, undefinedTable.end());
    scan[6] = 0x03;
    // A frame whose first component names quantisation table 3, which the file never defines.
    Bytes undefinedQuantisation = starry;
    const std::array<std::uint8_t, 2> frameMarker = {0xFF, 0xC0};
    const auto frame = std::search(undefinedQuantisation.begin(), undefinedQuantisation.end(),
                                   frameMarker.begin(), frameMarker.end());
    ASSERT_NE(frame, undefinedQuantisation.end());
    frame[12] = 0x03;
    // A compression method the decoder reads as negative and decodes as plain rows.
    Bytes negativeMethod = Bmp();
    negativeMethod[33] = 0xFF;
    // The decoder takes fill bytes (0xFF) before a JPEG's first marker too.
    const auto filled = [](const Bytes& jpeg) {
        Bytes bytes(3, 0xFF);
        bytes.insert(bytes.end(), jpeg.begin(), jpeg.end());
        return bytes;
    };
    const struct {
        const char* name;
        Bytes bytes;
        BMMRES status;
    } cases[] = {
        {"empty.png", {}, BMMRES_INVALIDFORMAT},
        {"notes.png", Bytes{'h', 'e', 'l', 'l', 'o', ' ', 't', 'e', 'x', 't', '\n'}, BMMRES_INVALIDFORMAT},
        {"truncated.png", Truncated(silk, silk.size() / 2), BMMRES_CORRUPTFILE},
        {"truncated.jpg", Truncated(starry, starry.size() / 2), BMMRES_CORRUPTFILE},
        {"truncated.bmp", Truncated(Bmp(), 10), BMMRES_CORRUPTFILE},
        {"negative_method_truncated.bmp", Truncated(negativeMethod, 10), BMMRES_CORRUPTFILE},
        {"empty_run.hdr", emptyRun, BMMRES_CORRUPTFILE},
        {"nul_line_ends_header_truncated.hdr", nulLineEndsHeader, BMMRES_CORRUPTFILE},
        {"big_table.jpg", bigTable, BMMRES_CORRUPTFILE},
        {"short_segment_big_table.jpg", shortSegment, BMMRES_CORRUPTFILE},
        {"filled_big_table.jpg", filled(bigTable), BMMRES_CORRUPTFILE},
        {"undefined_table.jpg", undefinedTable, BMMRES_CORRUPTFILE},
        {"undefined_quantisation_table.jpg", undefinedQuantisation, BMMRES_CORRUPTFILE},
        {"filled_truncated.jpg", filled(Truncated(starry, starry.size() / 2)), BMMRES_CORRUPTFILE},
        {"animation.gif", Bytes{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, ';'}, BMMRES_NODRIVER},
        // Too large for the decoder to accept its header, and too large for the manager.
        {"huge.png", Png(100000, 100000, 8, 6, {}), BMMRES_INVALIDFORMAT},
        {"wide.png", Png(0x1000000, 9, 8, 0, {}), BMMRES_MEMORYERROR},
#if !defined(_WIN32)
        {"truncated.exr", Truncated(Exr(0, 0, 4, 4, {"R"}, {std::vector<float>(16, 1.0f)}), 20),
         BMMRES_CORRUPTFILE},
        {"huge.exr", Exr(0, 0, 1 << 20, 1 << 10, {"R"}, {}), BMMRES_MEMORYERROR},
#endif
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BitmapInfo info(Write(c.name, c.bytes).wstring().c_str());
        info.SetWidth(11);
        BMMRES status = BMMRES_SUCCESS;
        EXPECT_EQ(TheManager->Load(&info, &status), nullptr);
        EXPECT_EQ(status, c.status);
        EXPECT_EQ(info.Width(), 11) << "a failed load records no size";
    }
    EXPECT_EQ(Load(Write("filled.jpg", filled(starry))).status, BMMRES_SUCCESS)
        << "a whole JPEG after fill bytes is read";

    const Loaded missing = Load(dir / "missing.png");
    EXPECT_EQ(missing.status, BMMRES_FILENOTFOUND);
    EXPECT_EQ(missing.bitmap, nullptr);
    EXPECT_EQ(Load(Write("plain.png", {}) / "deeper.png").status, BMMRES_FILENOTFOUND)
        << "a file as a folder";
    EXPECT_NE(Load(dir).status, BMMRES_SUCCESS) << "a folder";
    EXPECT_EQ(TheManager->Load(nullptr), nullptr);
    BMMRES status = BMMRES_SUCCESS;
    EXPECT_EQ(TheManager->Load(nullptr, &status), nullptr);
    EXPECT_EQ(status, BMMRES_INVALIDUSAGE);
}

#if !defined(_WIN32)
TEST_F(BitmapFiles, FilesOfUnknownSizeAreReadToTheirEnd) {
    // A named pipe tells no size: the reader goes on in chunks until the writer closes it. The image (in
    // stored deflate blocks) takes more than one chunk.
    Bytes rows;
    for (std::uint32_t y = 0; y < 300; ++y)
        for (std::uint32_t x = 0; x < 1024; ++x)
            for (std::uint32_t c = 0; c < 4; ++c)
                rows.push_back(static_cast<std::uint8_t>(x * 3 + y * 5 + c));
    const Bytes image = Png(1024, 300, 8, 6, rows);
    ASSERT_GT(image.size(), 1u << 20);
    const fs::path pipe = dir / "pipe.png";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    // A reader that stops early must fail the test, not end the process with the writer's broken pipe.
    std::signal(SIGPIPE, SIG_IGN);
    std::thread writer([&] {
        std::ofstream(pipe, std::ios::binary)
            .write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    });
    const Loaded piped = Load(pipe);
    writer.join();
    ASSERT_EQ(piped.status, BMMRES_SUCCESS);
    for (const auto& [x, y] : {std::pair{0u, 0u}, std::pair{700u, 150u}, std::pair{1023u, 299u}}) {
        const auto channel = [&](std::uint32_t c) {
            return static_cast<std::uint8_t>(x * 3 + y * 5 + c) / 255.0f;
        };
        EXPECT_EQ(At(*piped.bitmap, static_cast<int>(x), static_cast<int>(y)),
                  (Rgba{channel(0), channel(1), channel(2), channel(3)}));
    }
}
#endif

TEST_F(BitmapFiles, WidePathsReachNonAsciiNames) {
    // The file is created through a UTF-8 name and loaded through the wide one.
    Write(fs::path(u8"caf\u00e9_\u65e5\U0001F600.png"), Png(1, 1, 8, 0, {99}));
    const std::wstring wide = dir.wstring() + L"/caf\u00e9_\u65e5\U0001F600.png";
    BitmapInfo info(wide.c_str());
    BMMRES status = BMMRES_IOERROR;
    const BitmapPtr bitmap(TheManager->Load(&info, &status));
    ASSERT_EQ(status, BMMRES_SUCCESS);
    EXPECT_EQ(At(*bitmap, 0, 0), (Rgba{99 / 255.0f, 99 / 255.0f, 99 / 255.0f, 1.0f}));
}

TEST_F(BitmapFiles, InfoKeepsSixteenBitsAndBitmapKeepsTrueSize) {
    Bytes row(65537 * 2, 0);
    row[65536] = 255;
    const Loaded wide = Load(Write("wide.png", Png(65537, 2, 8, 0, row)));
    ASSERT_EQ(wide.status, BMMRES_SUCCESS);
    EXPECT_EQ(wide.info.Width(), 1);
    EXPECT_EQ(wide.bitmap->Width(), 65537);
    EXPECT_EQ(At(*wide.bitmap, 65536, 0)[0], 1.0f);

    // Linear reads run on into the next row and fail, touching nothing, once they leave the bitmap.
    std::array<BMM_Color_fl, 2> run{};
    EXPECT_EQ(wide.bitmap->GetLinearPixels(65536, 0, 2, run.data()), 1);
    EXPECT_EQ(run[0].r, 1.0f);
    EXPECT_EQ(run[1].r, 0.0f);
    run[0].r = 5.0f;
    EXPECT_EQ(wide.bitmap->GetLinearPixels(65536, 1, 2, run.data()), 0);
    EXPECT_EQ(wide.bitmap->GetLinearPixels(-1, 0, 1, run.data()), 0);
    EXPECT_EQ(wide.bitmap->GetLinearPixels(0, 2, 1, run.data()), 0);
    EXPECT_EQ(wide.bitmap->GetLinearPixels(65537, 0, 1, run.data()), 0);
    EXPECT_EQ(run[0].r, 5.0f);
}

TEST(Bitmap, CreatedAndStoragelessBitmaps) {
    BitmapInfo info;
    info.SetWidth(3);
    info.SetHeight(2);
    const BitmapPtr created(TheManager->Create(&info));
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(At(*created, 2, 1), (Rgba{0.0f, 0.0f, 0.0f, 0.0f}));
    const BMM_Color_fl colour{0.1f, 0.2f, 0.3f, 0.4f};
    EXPECT_EQ(created->PutPixels(2, 1, 1, &colour), 1);
    EXPECT_EQ(created->PutPixels(2, 1, 2, &colour), 0);
    EXPECT_EQ(At(*created, 2, 1), (Rgba{0.1f, 0.2f, 0.3f, 0.4f}));

    const BitmapPtr empty(TheManager->NewBitmap());
    EXPECT_EQ(empty->Storage(), nullptr);
    EXPECT_EQ(empty->Width(), 0);
    BMM_Color_fl pixel{};
    EXPECT_EQ(empty->GetLinearPixels(0, 0, 1, &pixel), 0);
}

TEST(PBBitmap, LoadsOnRequestAndClonesItsPixels) {
    PBBitmap missing(BitmapInfo(L"/no/such/file.png"));
    missing.Load();
    EXPECT_EQ(missing.bm, nullptr);

    auto original = std::make_unique<PBBitmap>(BitmapInfo(TestImage("chicky_512.png").wstring().c_str()));
    EXPECT_EQ(original->bm, nullptr);
    original->Load();
    ASSERT_NE(original->bm, nullptr);
    EXPECT_EQ(original->bi.Width(), 512);
    const Rgba before = At(*original->bm, 300, 200);

    const std::unique_ptr<PBBitmap> copy(original->Clone());
    original.reset();
    ASSERT_NE(copy->bm, nullptr);
    EXPECT_EQ(copy->bi.Height(), 512);
    EXPECT_EQ(At(*copy->bm, 300, 200), before);
}
