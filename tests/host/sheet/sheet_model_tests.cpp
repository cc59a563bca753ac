// The contact sheet of a model far from the origin: the coordinate modes fitted to the model's bounds (or
// kept in the scene's own coordinates), and the notes of the modes that the model gives one colour.
#include "host/sheet/sheet_command.h"
#include "host/sheet/sheet_layout.h"

#include "../render_test_support.h"
#include "test_files.h"

#include "host/base/text.h"
#include "host/scene/scene_records.h"

#include "hostsdk/bitmap.h"
#include "hostsdk/tex_gen.h"
#include "hostsdk/tri_object.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <span>
#include <tuple>

namespace {

// One cube of one piece, one material ID and one object ID, its object coordinates around (1020, -1985,
// 510) and its texture coordinates between -9 and -7: outside the range the coordinate modes spread the
// palette over. With `inputMap` the map reads a bitmap texture as its input map; with `tile` every face
// carries that tile number in map channel 99.
std::string WriteFarCube(const std::filesystem::path& file, bool inputMap = false,
                         std::optional<int> tile = {}) {
    host::Json verts = host::Json::array(), uvs = host::Json::array();
    for (int i = 0; i < 8; ++i) {
        verts.push_back({1000 + 40 * (i & 1), -2000 + 30 * ((i >> 1) & 1), 500 + 20 * ((i >> 2) & 1)});
        uvs.push_back({-9 + 2 * (i & 1), -9 + 2 * ((i >> 1) & 1), 0});
    }
    const host::Json faces = {{0, 2, 1}, {1, 2, 3}, {4, 5, 6}, {5, 7, 6}, {0, 1, 4}, {1, 5, 4},
                              {2, 6, 3}, {3, 6, 7}, {0, 4, 2}, {2, 4, 6}, {1, 3, 5}, {3, 7, 5}};
    host::Json mesh{
        {"verts", verts}, {"faces", faces}, {"maps", {{{"channel", 1}, {"verts", uvs}, {"faces", faces}}}}};
    if (tile)
        mesh["maps"].push_back({{"channel", 99},
                                {"verts", {{-(*tile + 0.5), 0, 0}}},
                                {"faces", host::Json(12, host::Json::array({0, 0, 0}))}});
    host::Json objects =
        host::Json::array({host::ChromasiftMapRecord(1), host::ChromasiftMaterialRecord(2, 1),
                           host::GeometryRecord(3, triObjectClassID, {{"mesh", mesh}}),
                           host::NodeRecord(4, "Cube", 1, {{"position", {0, 0, 0}}}, 3, 2)});
    if (inputMap) {
        objects[0]["paramBlocks"][0]["params"].push_back({{"id", 4}, {"type", "texmap"}, {"value", 5}});
        objects[0]["paramBlocks"][0]["params"].push_back({{"id", 5}, {"type", "bool"}, {"value", true}});
        objects.push_back({{"id", 5},
                           {"superClass", host::HexWord(TEXMAP_CLASS_ID)},
                           {"class", host::ClassWords(BMTEX_CLASS_ID)},
                           {"settings", {{"mapName", TestDataFile("images/Waves.png")}}}});
    }
    WriteBytes(file, host::SceneDocument(std::move(objects), host::Json::array({4})).dump());
    return host::PathToUtf8(file);
}

class FarModelSheet : public ::testing::Test {
protected:
    // Draws the sheet of `model` (the far cube when empty) into `file` with the given options added; returns
    // what the command printed.
    std::string Draw(const std::string& file, const std::string& extra, std::string model = "") {
        if (model.empty())
            model = WriteFarCube(folder / "far_cube.json");
        const render_test::Run run = render_test::RunSheet(render_test::Words(
            "--size 96x72 --threads 1 --colors 6 --unlit " + extra, {model, "-o", folder.File(file)}));
        EXPECT_EQ(run.status, 0) << run.err;
        return run.out;
    }

    const ScratchFolder folder;
    const host::SheetLayout layout = host::LayOutSheet(17, 96, 72);
};

// The colours covering at least `least` pixels of the rectangle, other than the colour at its corner.
int Colours(const render_test::Picture& picture, int x0, int y0, int width, int height, int least = 6) {
    std::map<std::tuple<float, float, float>, int> counts;
    const AColor background = picture.Pixel(x0, y0);
    for (int y = y0; y < y0 + height; ++y)
        for (int x = x0; x < x0 + width; ++x) {
            const AColor c = picture.Pixel(x, y);
            if (!(c == background))
                ++counts[{c.r, c.g, c.b}];
        }
    int colours = 0;
    for (const auto& [colour, count] : counts)
        colours += count >= least ? 1 : 0;
    return colours;
}

// Cells of the coordinate and the tile modes, in the rollout's order, and the note each gets when the
// scene's own coordinates are kept.
constexpr struct {
    int cell;
    const char* label;
    const char* keptNote;
} kCoordinateCells[] = {
    {10, "1D Mapping", "coordinates outside 0..1"}, {11, "2D Mapping", "coordinates outside 0..1"},
    {12, "3D Mapping", "coordinates outside 0..1"}, {13, "As Tiles", "coordinates outside 0..1"},
    {15, "BerconTile(Lin)", "no tile numbers"},     {16, "BerconTile(Rnd)", "no tile numbers"}};

// Which modes get which note is the note's own tests'; the sheet counts the model's keys, prints the notes
// and draws each under its cell's label.
TEST_F(FarModelSheet, CoordinateAndTileModesAreFittedToTheModelUnlessTheSceneCoordinatesAreKept) {
    const std::string fittedOut = Draw("far_fitted.png", "");
    const std::string keptOut = Draw("far_kept.png", "--scene-coordinates");
    const render_test::Picture fitted(folder / "far_fitted.png"), kept(folder / "far_kept.png");
    ASSERT_TRUE(fitted.Loaded() && kept.Loaded());
    for (const auto& c : kCoordinateCells) {
        const int x = layout.CellX(c.cell), y = layout.CellY(c.cell);
        EXPECT_GE(Colours(fitted, x, y, layout.cellWidth, layout.cellHeight), 3) << c.label << " fitted";
        EXPECT_EQ(Colours(kept, x, y, layout.cellWidth, layout.cellHeight), 1) << c.label << " kept";
        EXPECT_EQ(fittedOut.find(std::string(c.label) + ":"), std::string::npos) << fittedOut;
        EXPECT_NE(keptOut.find(std::string("  ") + c.label + ": one colour: " + c.keptNote + "\n"),
                  std::string::npos)
            << keptOut;
    }
    for (const char* line :
         {"Object (linear): one colour: one object", "Material ID: one colour: one material ID",
          "Per Element: one colour: one element per object",
          "VRay Instance (rnd) (vray): one colour: one object", "Input map: one colour: no input map"})
        EXPECT_NE(fittedOut.find(std::string("  ") + line + "\n"), std::string::npos) << line << "\n"
                                                                                      << fittedOut;
    // Twelve triangles with their edges shown are twelve polygons.
    EXPECT_EQ(fittedOut.find("Per Face:"), std::string::npos) << fittedOut;
    const auto noteBand = [&](int cell) {
        return Colours(fitted, layout.CellX(cell), layout.NoteY(cell), layout.cellWidth,
                       layout.CellY(cell) + layout.cellHeight + layout.labelHeight - layout.NoteY(cell), 1);
    };
    EXPECT_GT(noteBand(5), 0) << "Per Element";
    EXPECT_EQ(noteBand(8), 0) << "Per Face";
}

TEST_F(FarModelSheet, AModelsOwnTileNumbersAreKept) {
    const std::string withTiles = WriteFarCube(folder / "far_own_tiles.json", false, 4);
    const std::string fittedOut = Draw("own_tiles.png", "", withTiles);
    const std::string keptOut = Draw("own_tiles_kept.png", "--scene-coordinates", withTiles);
    const render_test::Picture fitted(folder / "own_tiles.png"), kept(folder / "own_tiles_kept.png");
    ASSERT_TRUE(fitted.Loaded() && kept.Loaded());
    for (const auto& c : std::span(kCoordinateCells).last(2)) { // the tile modes
        const int x0 = layout.CellX(c.cell), y0 = layout.CellY(c.cell);
        EXPECT_EQ(Colours(fitted, x0, y0, layout.cellWidth, layout.cellHeight), 1) << c.label;
        for (int y = y0; y < y0 + layout.cellHeight; ++y)
            for (int x = x0; x < x0 + layout.cellWidth; ++x)
                ASSERT_EQ(fitted.Pixel(x, y), kept.Pixel(x, y)) << c.label << " at " << x << ", " << y;
        for (const std::string& out : {fittedOut, keptOut})
            EXPECT_NE(out.find(std::string("  ") + c.label + ": one colour: one tile number\n"),
                      std::string::npos)
                << out;
    }
}

TEST_F(FarModelSheet, AnInputMapTakesTheInputMapNoteAway) {
    const std::string out = Draw("far_input.png", "", WriteFarCube(folder / "far_input.json", true));
    EXPECT_EQ(out.find("Input map:"), std::string::npos) << out;
    EXPECT_NE(out.find("Per Element: one colour"), std::string::npos) << out;
}

} // namespace
