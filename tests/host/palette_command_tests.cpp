#include "host/commands/palette_command.h"
#include "host/import/image_palette.h"

#include "export_test_support.h"
#include "test_files.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace {

using export_test::RunPalette;

// Golden palettes pin extraction, harmonisation and sorting bit for bit; both builds must give them.
TEST(PaletteCommand, ReproducesTheGoldenPalettes) {
    const struct {
        std::vector<std::string> args;
        const char* golden;
    } cases[] = {
        {{"chicky_512.png", "--colors", "12"}, "chicky_512_12.json"},
        {{"rubberwhale1.png", "--colors", "6", "--skip", "2", "--harmony", "Y", "--sort", "value-desc"},
         "rubberwhale1_6_skip2_Y_value-desc.json"},
        {{"starry_night.jpg", "--colors", "100", "--skip", "30", "--sort", "hue"},
         "starry_night_100_skip30_hue.json"},
        {{"Silk.png", "--colors", "5", "--harmony", "X"}, "Silk_5_X.json"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        args[0] = TestDataFile("images/" + args[0]);
        args.push_back("--json");
        const auto run = RunPalette(args);
        EXPECT_EQ(run.status, 0) << run.err;
        const std::string golden = ReadBytes(std::filesystem::path(CHROMASIFT_GOLDEN_DIR) / c.golden);
        ASSERT_FALSE(golden.empty()) << "missing golden file " << c.golden;
        EXPECT_EQ(run.out, golden) << c.golden;
    }
}

TEST(PaletteCommand, RejectsBadArgumentsAndUnreadableImages) {
    const struct {
        std::vector<std::string> args;
        const char* expected;
    } bad[] = {
        // The counts' bounds and a value left out are the option table's, tested with the render command.
        {{"a.png", "--harmony", "Z"}, "--harmony"},
        {{"a.png", "--sort", "size"}, "--sort"},
        {{"a.png", "--format", "bmp"}, "'bmp'"},
        {{"a.png", "--format", "ase"}, "-o FILE"},
        {{"a.png", "--format", "png"}, "-o FILE"},
        {{"a.png", "b.png"}, "'palette' takes one image, not also 'b.png'"},
        {{"a.png", "-o", "x.jpg"},
         "-o x.jpg: 'palette' writes .txt, .json, .gpl, .ase, .css or .png files, not .jpg"},
        {{"a.png", "--format", "json", "-o", "x.gpl"}, "--format json contradicts -o x.gpl"},
        {{"a.png", "-o", "x.css", "--json"}, "--format json contradicts -o x.css"},
    };
    for (const auto& c : bad) {
        const auto run = RunPalette(c.args);
        EXPECT_EQ(run.status, 2) << "accepted: " << ::testing::PrintToString(c.args);
        EXPECT_NE(run.err.find(c.expected), std::string::npos) << run.err;
    }

    host::PaletteOptions options;
    options.image = TestDataFile("meshes/box.obj");
    std::ostringstream out, err;
    EXPECT_EQ(host::RunPaletteCommand(options, out, err), 1);
    EXPECT_NE(err.str().find("box.obj': not an image file"), std::string::npos) << err.str();
    EXPECT_TRUE(out.str().empty());

    // Without an image, the built-in picture: twelve stripes, twelve colours.
    host::PaletteOptions builtin;
    builtin.numColours = 20;
    builtin.format = host::PaletteFormat::Json;
    std::ostringstream json, none;
    EXPECT_EQ(host::RunPaletteCommand(builtin, json, none), 0) << none.str();
    std::size_t entries = 0;
    for (std::size_t at = json.str().find("\"sortMode\""); at != std::string::npos;
         at = json.str().find("\"sortMode\"", at + 1))
        ++entries;
    EXPECT_EQ(entries, 12u);
}

// Only when more than half the samples are fully transparent.
TEST(PaletteCommand, NotesMostlyTransparentPictures) {
    host::ImagePalette half, most;
    half.samples = most.samples = 4;
    half.transparentSamples = 2;
    most.transparentSamples = 3;
    EXPECT_EQ(host::TransparencyNote(half, "cut.png"), "");
    EXPECT_EQ(
        host::TransparencyNote(most, "cut.png").rfind("cut.png: 75% of the samples are fully transparent", 0),
        0u);
}

} // namespace
