#include "hostsdk/bitmap.h"

#include "scratch_folder.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;
using Bytes = std::string;

namespace {

Bytes Truncated(Bytes bytes, std::size_t drop) {
    bytes.resize(bytes.size() - drop);
    return bytes;
}

// The bytes with the one `offset` bytes after the first JPEG marker 0xFF `marker` set to `value`; unchanged
// when there is no such marker (and then read whole).
Bytes Patched(Bytes bytes, std::uint8_t marker, std::size_t offset, std::uint8_t value) {
    const std::array<char, 2> tag = {'\xFF', static_cast<char>(marker)};
    const auto at = std::search(bytes.begin(), bytes.end(), tag.begin(), tag.end());
    if (at != bytes.end())
        at[static_cast<std::ptrdiff_t>(offset)] = static_cast<char>(value);
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

// Stored 8- and 16-bit channels as the bitmap reads them.
Rgba Eight(int r, int g, int b, int a) {
    return {r / 255.0f, g / 255.0f, b / 255.0f, a / 255.0f};
}

Rgba Sixteen(int r, int g, int b, int a) {
    return {r / 65535.0f, g / 65535.0f, b / 65535.0f, a / 65535.0f};
}

class BitmapFiles : public ::testing::Test {
protected:
    fs::path Write(const fs::path& name, const Bytes& bytes) const {
        WriteBytes(dir / name, bytes);
        return dir / name;
    }

    ScratchFolder scratch;
    const fs::path& dir = scratch.Path();
};

fs::path TestImage(const std::string& name) {
    return TestDataFile("images/" + name);
}

// The small files made for these tests (tests/data/README.md says how), each holding known values.
fs::path Made(const std::string& name) {
    return TestImage("made/" + name);
}

} // namespace

TEST_F(BitmapFiles, ChannelsReadAsStoredAtTheirDepth) {
    // BMP rows are stored bottom-up, blue first; two.tga is top-down (descriptor bit 5) with alpha.
    using enum BitmapChannels;
    const struct {
        const char* file;
        BitmapChannels channels;
        std::vector<std::tuple<int, int, Rgba>> pixels; // x, y and what is read there
    } rows[] = {
        // Grey goes to red, green and blue.
        {"grey_alpha8.png", UInt8, {{0, 0, Eight(10, 10, 10, 20)}, {1, 0, Eight(200, 200, 200, 0)}}},
        // Empty data chunks before and after the one with data (the decoder mishandled one before it).
        {"grey_alpha8_empty_chunks.png",
         UInt8,
         {{0, 0, Eight(10, 10, 10, 20)}, {1, 0, Eight(200, 200, 200, 0)}}},
        // A palette with a transparency entry for its first colour only.
        {"indexed8.png", UInt8, {{0, 0, Eight(250, 128, 0, 255)}, {1, 0, Eight(1, 2, 3, 64)}}},
        {"two.bmp", UInt8, {{0, 0, Eight(30, 20, 10, 255)}, {1, 1, Eight(6, 5, 4, 255)}}},
        {"two.tga", UInt8, {{0, 0, Eight(7, 8, 9, 6)}, {1, 0, Eight(70, 80, 90, 60)}}},
        // 1 and 65534 would become 0 and 255 at 8 bits.
        {"rgba16.png", UInt16, {{0, 0, Sixteen(1, 257, 32768, 65535)}, {1, 0, Sixteen(65534, 0, 12345, 2)}}},
        {"grey16_column.png",
         UInt16,
         {{0, 0, Sixteen(40000, 40000, 40000, 65535)}, {0, 1, Sixteen(3, 3, 3, 65535)}}},
        {"rgb16_1x1.png", UInt16, {{0, 0, Sixteen(65535, 1, 30000, 65535)}}},
        // Grey and alpha at 16 bits: the alpha is kept, and no gamma curve touches the grey.
        {"grey_alpha16.png", UInt16, {{0, 0, Sixteen(32768, 32768, 32768, 16384)}}},
        // Radiance RGBE: a shared exponent 2^-5 with mantissas 128, 32 and 16 stores 4, 1 and 0.5 exactly.
        {"values.hdr", Float, {{0, 0, {4.0f, 1.0f, 0.5f, 1.0f}}, {1, 0, {0.5f, 4.0f, 1.0f, 1.0f}}}},
#if !defined(_WIN32)
        // EXR with a data window at (-3, 5), no alpha channel, values outside 0..1.
        {"offset_window.exr",
         Float,
         {{0, 0, {100.0f, -2.0f, 0.25f, 1.0f}},
          {1, 0, {1e-6f, 0.125f, 0.0f, 1.0f}},
          {1, 1, {0.0f, 0.5f, 7.5f, 1.0f}}}},
        {"grey_alpha.exr", Float, {{0, 0, {3.25f, 3.25f, 3.25f, 0.5f}}}},
#endif
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        const Loaded loaded = Load(Made(row.file));
        ASSERT_EQ(loaded.status, BMMRES_SUCCESS);
        EXPECT_EQ(loaded.bitmap->Storage()->Channels(), row.channels);
        for (const auto& [x, y, expected] : row.pixels)
            EXPECT_EQ(At(*loaded.bitmap, x, y), expected) << "at " << x << ", " << y;
    }
#if defined(_WIN32)
    const Loaded exr = Load(Made("offset_window.exr"));
    EXPECT_EQ(exr.status, BMMRES_NODRIVER);
    EXPECT_EQ(exr.bitmap, nullptr);
#else
    EXPECT_EQ(Load(Made("offset_window.exr")).info.Width(), 2) << "the data window's size";
#endif
}

TEST_F(BitmapFiles, UnreadableFilesGiveNonzeroStatus) {
    const Bytes silk = ReadBytes(TestImage("Silk.png"));
    const Bytes starry = ReadBytes(TestImage("starry_night.jpg"));
    // empty_run.hdr: an encoded line whose first span is empty. nul_line_header.hdr: a header line that
    // starts with a NUL byte ends the header just as an empty one does, and the empty line further on must
    // not be taken for the header's end (its 2 x 4 flat pixels need 32 bytes). big_table.jpg: a table
    // claiming 17 x 255 codes; short_segment_big_table.jpg: the same table in a segment declared too short,
    // which the decoder reads past the segment's end.
    const Bytes bigTable = ReadBytes(Made("big_table.jpg"));
    // A compression method the decoder reads as negative and decodes as plain rows.
    const Bytes bmp = ReadBytes(Made("two.bmp"));
    Bytes negativeMethod = bmp;
    negativeMethod[33] = '\xFF';
    // The decoder takes fill bytes (0xFF) before a JPEG's first marker too.
    const auto filled = [](const Bytes& jpeg) {
        Bytes bytes(3, '\xFF');
        bytes.insert(bytes.end(), jpeg.begin(), jpeg.end());
        return bytes;
    };
    const struct {
        const char* name;
        Bytes bytes;
        BMMRES status;
    } cases[] =
    { {"empty.png", {}, BMMRES_INVALIDFORMAT},
      {"notes.png", Bytes{'h', 'e', 'l', 'l', 'o', ' ', 't', 'e', 'x', 't', '\n'}, BMMRES_INVALIDFORMAT},
      {"truncated.png", Truncated(silk, silk.size() / 2), BMMRES_CORRUPTFILE},
      {"truncated.jpg", Truncated(starry, starry.size() / 2), BMMRES_CORRUPTFILE},
      {"truncated.bmp", Truncated(bmp, 10), BMMRES_CORRUPTFILE},
      {"negative_method_truncated.bmp", Truncated(negativeMethod, 10), BMMRES_CORRUPTFILE},
      {"empty_run.hdr", ReadBytes(Made("empty_run.hdr")), BMMRES_CORRUPTFILE},
      {"nul_line_header.hdr", ReadBytes(Made("nul_line_header.hdr")), BMMRES_CORRUPTFILE},
      {"big_table.jpg", bigTable, BMMRES_CORRUPTFILE},
      {"short_segment_big_table.jpg", ReadBytes(Made("short_segment_big_table.jpg")), BMMRES_CORRUPTFILE},
      {"filled_big_table.jpg", filled(bigTable), BMMRES_CORRUPTFILE},
      // A scan, and a frame, whose first component names a table 3 (AC, quantisation) the file never defines.
      {"undefined_table.jpg", Patched(starry, 0xDA, 6, 0x03), BMMRES_CORRUPTFILE},
      {"undefined_quantisation_table.jpg", Patched(starry, 0xC0, 12, 0x03), BMMRES_CORRUPTFILE},
      {"filled_truncated.jpg", filled(Truncated(starry, starry.size() / 2)), BMMRES_CORRUPTFILE},
      {"animation.gif", Bytes{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, ';'}, BMMRES_NODRIVER},
      // Too large for the decoder to accept its header, and too large for the manager: refused by the size
      // the header declares, with that reason.
      {"huge.png", ReadBytes(Made("huge_header.png")), BMMRES_MEMORYERROR},
      {"huge.jpg", Patched(Patched(starry, 0xC0, 5, 0xEA), 0xC0, 7, 0xEA), BMMRES_MEMORYERROR},
      {"wide.png", ReadBytes(Made("wide_header.png")), BMMRES_MEMORYERROR},
#if !defined(_WIN32)
      {"truncated.exr", Truncated(ReadBytes(Made("offset_window.exr")), 20), BMMRES_CORRUPTFILE},
      {"huge.exr", ReadBytes(Made("huge_header.exr")), BMMRES_MEMORYERROR},
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

#if !defined(_WIN32)
    EXPECT_EQ(Load("/dev/zero").status, BMMRES_INVALIDFORMAT) << "refused at its first bytes, not read on";
#endif
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
    // A named pipe tells no size: the reader goes on in chunks until the writer closes it. A private chunk
    // of 1.5 MB (checksum left zero: the decoder skips checksums) after the header puts the pixels in a later
    // chunk of the reader.
    const Bytes silk = ReadBytes(TestImage("Silk.png"));
    const std::size_t afterHeader = 8 + 12 + 13;
    Bytes image(silk.begin(), silk.begin() + afterHeader);
    image.reserve(silk.size() + 8 + 0x180000 + 4);
    image.append({'\x00', '\x18', '\x00', '\x00', 'p', 'r', 'I', 'v'});
    image.resize(image.size() + 0x180000 + 4, 0);
    image.insert(image.end(), silk.begin() + afterHeader, silk.end());
    const fs::path pipe = dir / "pipe.png";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    // A reader that stops early must fail the test, not end the process with the writer's broken pipe.
    std::signal(SIGPIPE, SIG_IGN);
    std::thread writer([&] {
        std::ofstream(pipe, std::ios::binary).write(image.data(), static_cast<std::streamsize>(image.size()));
    });
    const Loaded piped = Load(pipe);
    writer.join();
    ASSERT_EQ(piped.status, BMMRES_SUCCESS);
    const Loaded direct = Load(TestImage("Silk.png"));
    for (const auto& [x, y] : {std::pair{0, 0}, std::pair{700, 150}, std::pair{1599, 1199}})
        EXPECT_EQ(At(*piped.bitmap, x, y), At(*direct.bitmap, x, y));
}
#endif

TEST_F(BitmapFiles, WidePathsReachNonAsciiNames) {
    // The file is created through a UTF-8 name and loaded through the wide one.
    Write(fs::path(u8"caf\u00e9_\u65e5\U0001F600.png"), ReadBytes(Made("grey_alpha8.png")));
    const std::wstring wide = dir.wstring() + L"/caf\u00e9_\u65e5\U0001F600.png";
    BitmapInfo info(wide.c_str());
    BMMRES status = BMMRES_IOERROR;
    const BitmapPtr bitmap(TheManager->Load(&info, &status));
    ASSERT_EQ(status, BMMRES_SUCCESS);
    EXPECT_EQ(At(*bitmap, 0, 0), Eight(10, 10, 10, 20));
}

TEST(BitmapManager, InfoKeepsSixteenBitsAndBitmapKeepsTrueSize) {
    // Two black rows of 65537 grey pixels, but for the last pixel of the first row, which is white.
    const Loaded wide = Load(Made("wide65537.png"));
    ASSERT_EQ(wide.status, BMMRES_SUCCESS);
    EXPECT_EQ(wide.info.Width(), 1);
    EXPECT_EQ(wide.bitmap->Width(), 65537);
    EXPECT_EQ(At(*wide.bitmap, 65536, 0)[0], 1.0f);
    std::array<BMM_Color_fl, 2> run{};
    EXPECT_EQ(wide.bitmap->GetLinearPixels(65536, 0, 2, run.data()), 1) << "runs on into the next row";
    EXPECT_EQ(wide.bitmap->GetLinearPixels(65537, 0, 1, run.data()), 0) << "x is beyond the last column";
}

TEST(PBBitmap, LoadsOnRequest) {
    PBBitmap missing(BitmapInfo(L"/no/such/file.png"));
    missing.Load();
    EXPECT_EQ(missing.bm, nullptr);

    PBBitmap picture(BitmapInfo(TestImage("chicky_512.png").wstring().c_str()));
    EXPECT_EQ(picture.bm, nullptr);
    picture.Load();
    ASSERT_NE(picture.bm, nullptr);
    EXPECT_EQ(picture.bi.Width(), 512);
}
