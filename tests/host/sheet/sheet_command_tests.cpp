// The contact sheet: its layout, and a sheet of the built-in scene written and read back.
#include "host/sheet/sheet_command.h"
#include "host/sheet/sheet_layout.h"

#include "../render_test_support.h"
#include "command_line.h"
#include "test_files.h"

#include "hostsdk/core_interface.h"

#include <gtest/gtest.h>

namespace {

using render_test::RunSheet;
using render_test::Words;

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

TEST(SheetCommand, TakesTheRenderOptionsWithoutAMode) {
    const auto parse = [](const std::string& line, host::SheetOptions& options) {
        return ParseCommandLine(host::ParseSheetOptions, Words(line), options);
    };
    host::SheetOptions options, sized, framed, refused;
    EXPECT_EQ(parse("-o s.png", options), "");
    EXPECT_EQ(parse("--size 64x48 --colors 5 --scene-coordinates -o s.png", sized), "");
    EXPECT_EQ(sized.render.width, 64);
    EXPECT_EQ(sized.render.map.colours, 5);
    EXPECT_TRUE(sized.sceneCoordinates);
    EXPECT_EQ(parse("--frame 30 -o s.png", framed), "");
    EXPECT_EQ(framed.render.frame, 30);
    for (const char* line : {"--mode Random -o s.png", "--colors 5", "--frames 0-2 -o s_#.png"})
        EXPECT_NE(parse(line, refused), "") << line << ": a sheet shows every mode, is written, is one frame";
}

class SheetOfScene : public ::testing::Test {
protected:
    // Draws a small sheet of the scene at the frame on one thread; its summary line and the picture's bytes.
    std::pair<std::string, std::string> Sheet(const std::string& scene, const char* frame) {
        const render_test::Run run = RunSheet(Words(std::string("--size 32x24 --threads 1 --frame ") + frame,
                                                    {scene, "-o", folder.File("sheet_frame.png")}));
        EXPECT_EQ(run.status, 0) << run.err;
        return {run.out, ReadBytes(folder / "sheet_frame.png")};
    }
    const ScratchFolder folder;
};

TEST_F(SheetOfScene, DrawsTheFrameItIsGiven) {
    const std::string scene = render_test::WriteAnimatedScene(folder / "animated_sheet.json");
    const std::string first = Sheet(scene, "0").second;
    EXPECT_EQ(GetCOREInterface()->GetTime(), 0);
    const std::string last = Sheet(scene, "30").second;
    EXPECT_EQ(GetCOREInterface()->GetTime(), 4800);
    EXPECT_FALSE(first.empty());
    EXPECT_NE(first, last) << "\"Gamma\" 1 and 3 give other colours";
}

TEST_F(SheetOfScene, KeysOnTheModeAndTheCountsChangeNeitherTheCellsNorTheStrip) {
    // The built-in scene with one keyed parameter: the mode, or "# colors".
    const auto keyed = [&](int param, const char* keys) {
        return render_test::WriteBuiltinSceneWith(
            folder / "keyed_sheet.json",
            host::Json{{"id", param}, {"type", "int"}, {"keys", host::Json::parse(keys)}});
    };
    const std::string modeKeyed = keyed(2, "[[0, 5], [4800, 13]]");
    EXPECT_EQ(Sheet(modeKeyed, "0").second, Sheet(modeKeyed, "30").second) << "each cell shows its own mode";
    // The map extracted 4 colours on loading ("# colors" at time 0), whatever the frame drawn.
    EXPECT_NE(Sheet(keyed(1, "[[0, 4], [9600, 12]]"), "30").first.find("palette of 4 colours"),
              std::string::npos);
    GetCOREInterface()->SetTime(0);
}

TEST_F(SheetOfScene, FailsNamingAMissingPicture) {
    const std::string scene = TestDataFile("scenes/missing_picture.json");
    const render_test::Run run = RunSheet({scene, "--size", "8x6", "-o", folder.File("missing_sheet.png")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(
        run.err.find(
            "missing picture '" +
            (std::filesystem::path(scene).parent_path() / "no-such-picture.png").lexically_normal().string() +
            "', wanted by the map \"Chromasift\""),
        std::string::npos)
        << run.err;
    EXPECT_FALSE(std::filesystem::exists(folder / "missing_sheet.png"));
}

TEST_F(SheetOfScene, WritesEveryModeAndThePaletteStrip) {
    const render_test::Run run =
        RunSheet(Words("--size 64x48 --threads 2 --colors 6", {"-o", folder.File("sheet.png")}));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("17 modes"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("palette of 6 colours"), std::string::npos) << run.out;

    const render_test::Picture sheet(folder / "sheet.png");
    const host::SheetLayout layout = host::LayOutSheet(17, 64, 48);
    ASSERT_TRUE(sheet.Loaded());
    ASSERT_EQ(sheet.Width(), layout.Width());
    ASSERT_EQ(sheet.Height(), layout.Height());
    // Every cell shows the scene: its centre differs from the cell's plain background in its corner.
    for (int cell = 0; cell < 17; ++cell) {
        const int x = layout.CellX(cell), y = layout.CellY(cell);
        int differing = 0;
        for (int dy = 0; dy < layout.cellHeight; dy += 4)
            for (int dx = 0; dx < layout.cellWidth; dx += 4)
                differing += sheet.Pixel(x + dx, y + dy) == sheet.Pixel(x, y) ? 0 : 1;
        EXPECT_GT(differing, 10) << "cell " << cell;
    }
    // Six swatches in the strip, each of one flat colour, the first differing from the second.
    const int swatchX = layout.StripX() + 4;
    std::vector<AColor> swatches;
    AColor last = sheet.Pixel(swatchX, layout.StripY());
    for (int y = layout.StripY(); y < layout.StripY() + layout.StripHeight(); ++y) {
        const AColor c = sheet.Pixel(swatchX, y);
        if (!(c == last) && !(c == sheet.Pixel(swatchX, layout.StripY())))
            swatches.push_back(c);
        last = c;
    }
    EXPECT_GE(swatches.size(), 6u);
}

} // namespace
