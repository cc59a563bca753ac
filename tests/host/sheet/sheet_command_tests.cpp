// The contact sheet: its layout, and a sheet of the built-in scene written and read back.
#include "host/sheet/sheet_command.h"
#include "host/sheet/sheet_layout.h"

#include "../render_test_support.h"

#include "hostsdk/bitmap.h"
#include "hostsdk/core_interface.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>

namespace {

TEST(SheetLayout, SeventeenModesInThreeRowsOfSixBesideTheStrip) {
    const host::SheetLayout layout = host::LayOutSheet(17, 320, 240);
    EXPECT_EQ(layout.columns, 6);
    EXPECT_EQ(layout.rows, 3);
    // The last cell and the strip stay inside the picture, and no cell reaches into the strip.
    EXPECT_LE(layout.CellX(16) + layout.cellWidth, layout.StripX());
    EXPECT_LE(layout.CellX(5) + layout.cellWidth + layout.margin, layout.StripX());
    EXPECT_LE(layout.CellY(16) + layout.cellHeight + layout.labelHeight, layout.Height());
    EXPECT_LE(layout.StripX() + layout.stripWidth, layout.Width());
    EXPECT_GT(layout.CellY(6), layout.CellY(5) + layout.cellHeight) << "the label band lies between rows";
    EXPECT_EQ(host::LayOutSheet(2, 64, 48).columns, 2);
    EXPECT_GE(host::LayOutSheet(17, 16, 12).textHeight, 13.0f) << "labels stay legible on tiny cells";
}

class SheetCommand : public ::testing::Test {
protected:
    static int Parse(std::vector<std::string> args, host::SheetOptions& options) {
        args.insert(args.begin(), "sheet");
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        return host::ParseSheetOptions(static_cast<int>(argv.size()), argv.data(), 1, options).empty() ? 0
                                                                                                       : 2;
    }
    // Draws a small sheet of the scene at the frame on one thread; its summary line and the picture's bytes.
    static std::pair<std::string, std::string> Sheet(const std::string& scene, const char* frame) {
        const render_test::TempFile file("sheet_frame.png");
        host::SheetOptions options;
        EXPECT_EQ(
            Parse({scene, "--size", "32x24", "--threads", "1", "--frame", frame, "-o", file.Utf8()}, options),
            0);
        std::ostringstream out, err;
        EXPECT_EQ(host::RunSheetCommand(options, render_test::LoadedPlugins(), out, err, false), 0)
            << err.str();
        std::ifstream in(file.Path(), std::ios::binary);
        return {out.str(), std::string(std::istreambuf_iterator<char>(in), {})};
    }
};

TEST_F(SheetCommand, TakesTheRenderOptionsWithoutAMode) {
    host::SheetOptions options;
    EXPECT_EQ(Parse({"-o", "s.png"}, options), 0);
    EXPECT_EQ(options.render.width, 320) << "cells default to 320 x 240";
    EXPECT_EQ(options.render.height, 240);
    host::SheetOptions sized;
    EXPECT_EQ(Parse({"--size", "64x48", "--colors", "5", "-o", "s.png"}, sized), 0);
    EXPECT_EQ(sized.render.width, 64);
    EXPECT_EQ(sized.render.map.colours, 5);
    host::SheetOptions moded;
    EXPECT_EQ(Parse({"--mode", "Random", "-o", "s.png"}, moded), 2);
    host::SheetOptions unnamed;
    EXPECT_EQ(Parse({"--colors", "5"}, unnamed), 2) << "an output file is needed";
    host::SheetOptions framed;
    EXPECT_EQ(Parse({"--frame", "30", "-o", "s.png"}, framed), 0);
    EXPECT_EQ(framed.render.frame, 30);
    EXPECT_EQ(Parse({"--frames", "0-2", "-o", "s_#.png"}, framed), 2) << "a sheet is one frame";
}

TEST_F(SheetCommand, DrawsTheFrameItIsGiven) {
    const render_test::TempFile scene("animated_sheet.json");
    render_test::WriteAnimatedScene(scene);
    const std::string first = Sheet(scene.Utf8(), "0").second;
    EXPECT_EQ(GetCOREInterface()->GetTime(), 0);
    const std::string last = Sheet(scene.Utf8(), "30").second;
    EXPECT_EQ(GetCOREInterface()->GetTime(), 4800);
    EXPECT_FALSE(first.empty());
    EXPECT_NE(first, last) << "\"Gamma\" 1 and 3 give other colours";
}

TEST_F(SheetCommand, KeysOnTheModeAndTheCountsChangeNeitherTheCellsNorTheStrip) {
    // The built-in scene with one keyed parameter: the mode, or "# colors".
    const render_test::TempFile sceneFile("keyed_sheet.json");
    const auto keyed = [&](int param, const char* keys) {
        return render_test::WriteBuiltinSceneWith(
            sceneFile, host::Json{{"id", param}, {"type", "int"}, {"keys", host::Json::parse(keys)}});
    };
    const std::string modeKeyed = keyed(2, "[[0, 5], [4800, 13]]");
    EXPECT_EQ(Sheet(modeKeyed, "0").second, Sheet(modeKeyed, "30").second) << "each cell shows its own mode";
    // The map extracted 4 colours on loading ("# colors" at time 0), whatever the frame drawn.
    EXPECT_NE(Sheet(keyed(1, "[[0, 4], [9600, 12]]"), "30").first.find("palette of 4 colours"),
              std::string::npos);
    GetCOREInterface()->SetTime(0);
}

TEST_F(SheetCommand, FailsNamingAMissingPicture) {
    const render_test::TempFile scene("missing_sheet.json"), file("missing_sheet.png");
    render_test::WriteMapScene(scene, {{"id", 0}, {"type", "bitmap"}, {"value", "no-such-picture.png"}});
    host::SheetOptions options;
    ASSERT_EQ(Parse({scene.Utf8(), "--size", "8x6", "-o", file.Utf8()}, options), 0);
    std::ostringstream out, err;
    EXPECT_EQ(host::RunSheetCommand(options, render_test::LoadedPlugins(), out, err, false), 1);
    EXPECT_NE(err.str().find("missing picture 'no-such-picture.png', wanted by the map \"Chromasift\""),
              std::string::npos)
        << err.str();
    EXPECT_FALSE(std::filesystem::exists(file.Path()));
}

TEST_F(SheetCommand, WritesEveryModeAndThePaletteStrip) {
    const render_test::TempFile file("sheet.png");
    host::SheetOptions options;
    ASSERT_EQ(Parse({"--size", "64x48", "--threads", "2", "--colors", "6", "-o", file.Utf8()}, options), 0);
    std::ostringstream out, err;
    ASSERT_EQ(host::RunSheetCommand(options, render_test::LoadedPlugins(), out, err, false), 0) << err.str();
    EXPECT_NE(out.str().find("17 modes"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("palette of 6 colours"), std::string::npos) << out.str();

    BitmapInfo info;
    info.SetName(file.Path().wstring().c_str());
    BMMRES status = 1;
    std::unique_ptr<Bitmap, void (*)(Bitmap*)> sheet(TheManager->Load(&info, &status), [](Bitmap* b) {
        if (b != nullptr)
            b->DeleteThis();
    });
    ASSERT_EQ(status, 0);
    const host::SheetLayout layout = host::LayOutSheet(17, 64, 48);
    ASSERT_EQ(info.Width(), layout.Width());
    ASSERT_EQ(info.Height(), layout.Height());
    const auto pixel = [&](int x, int y) {
        BMM_Color_fl p;
        sheet->GetLinearPixels(x, y, 1, &p);
        return AColor(p.r, p.g, p.b, p.a);
    };
    // Every cell shows the scene: its centre differs from the cell's plain background in its corner.
    for (int cell = 0; cell < 17; ++cell) {
        const int x = layout.CellX(cell), y = layout.CellY(cell);
        int differing = 0;
        for (int dy = 0; dy < layout.cellHeight; dy += 4)
            for (int dx = 0; dx < layout.cellWidth; dx += 4)
                differing += pixel(x + dx, y + dy) == pixel(x, y) ? 0 : 1;
        EXPECT_GT(differing, 10) << "cell " << cell;
    }
    // Six swatches in the strip, each of one flat colour, the first differing from the second.
    const int swatchX = layout.StripX() + 4;
    std::vector<AColor> swatches;
    AColor last = pixel(swatchX, layout.StripY());
    for (int y = layout.StripY(); y < layout.StripY() + layout.StripHeight(); ++y) {
        const AColor c = pixel(swatchX, y);
        if (!(c == last) && !(c == pixel(swatchX, layout.StripY())))
            swatches.push_back(c);
        last = c;
    }
    EXPECT_GE(swatches.size(), 6u);
}

} // namespace
