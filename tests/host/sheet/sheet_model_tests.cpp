// The contact sheet of a model far from the origin: the coordinate modes fitted to the model's bounds (or
// kept in the scene's own coordinates), and the notes of the modes that the model gives one colour.
#include "host/sheet/sheet_command.h"
#include "host/sheet/sheet_layout.h"

#include "../render_test_support.h"
#include "test_files.h"

#include "host/scene/scene_records.h"

#include "hostsdk/bitmap.h"
#include "hostsdk/tex_gen.h"
#include "hostsdk/tri_object.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <tuple>

namespace {

// One cube of one piece, one material ID and one object ID, its object coordinates around (1020, -1985,
// 510) and its texture coordinates between -9 and -7: outside the range the coordinate modes spread the
// palette over. With `inputMap` the map reads a bitmap texture as its input map; with `tile` every face
// carries that tile number in map channel 99.
void WriteFarCube(const render_test::TempFile& file, bool inputMap = false, std::optional<int> tile = {}) {
    host::Json verts = host::Json::array(), uvs = host::Json::array();
    for (int i = 0; i < 8; ++i) {
        verts.push_back({1000 + 40 * (i & 1), -2000 + 30 * ((i >> 1) & 1), 500 + 20 * ((i >> 2) & 1)});
        uvs.push_back({-9 + 2 * (i & 1), -9 + 2 * ((i >> 1) & 1), 0});
    }
    const host::Json faces = {{0, 2, 1}, {1, 2, 3}, {4, 5, 6}, {5, 7, 6}, {0, 1, 4}, {1, 5, 4},
                              {2, 6, 3}, {3, 6, 7}, {0, 4, 2}, {2, 4, 6}, {1, 3, 5}, {3, 7, 5}};
    host::Json mesh{
        {"verts", verts}, {"faces", faces}, {"maps", {{{"channel", 1}, {"verts", uvs}, {"faces", faces}}}}};
    if (tile) {
        const host::Json corners = host::Json::array({0, 0, 0});
        mesh["maps"].push_back(
            {{"channel", 99},
             {"verts", {{-(*tile + 0.5), 0, 0}}},
             {"faces", host::Json::array({corners, corners, corners, corners, corners, corners, corners,
                                          corners, corners, corners, corners, corners})}});
    }
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
    std::ofstream(file.Path()) << host::SceneDocument(std::move(objects), host::Json::array({4})).dump();
}

int Parse(std::vector<std::string> args, host::SheetOptions& options) {
    args.insert(args.begin(), "sheet");
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    return host::ParseSheetOptions(static_cast<int>(argv.size()), argv.data(), 1, options).empty() ? 0 : 2;
}

// A written sheet, read back.
class SheetPicture {
public:
    explicit SheetPicture(const std::filesystem::path& path) {
        info.SetName(path.wstring().c_str());
        BMMRES status = 1;
        bitmap.reset(TheManager->Load(&info, &status));
        EXPECT_EQ(status, 0);
    }
    bool Loaded() const { return bitmap != nullptr; }
    int Width() { return info.Width(); }
    AColor Pixel(int x, int y) const {
        BMM_Color_fl p;
        bitmap->GetLinearPixels(x, y, 1, &p);
        return AColor(p.r, p.g, p.b, p.a);
    }
    // The colours covering at least `least` pixels of the rectangle, other than the colour at its corner.
    int Colours(int x0, int y0, int width, int height, int least = 6) const {
        std::map<std::tuple<float, float, float>, int> counts;
        const AColor background = Pixel(x0, y0);
        for (int y = y0; y < y0 + height; ++y)
            for (int x = x0; x < x0 + width; ++x) {
                const AColor c = Pixel(x, y);
                if (!(c == background))
                    ++counts[{c.r, c.g, c.b}];
            }
        int colours = 0;
        for (const auto& [colour, count] : counts)
            colours += count >= least ? 1 : 0;
        return colours;
    }

private:
    struct Deleter {
        void operator()(Bitmap* b) const { b->DeleteThis(); }
    };
    BitmapInfo info;
    std::unique_ptr<Bitmap, Deleter> bitmap;
};

class FarModelSheet : public ::testing::Test {
protected:
    static void SetUpTestSuite() { WriteFarCube(*scene); }
    static void TearDownTestSuite() { scene.reset(); }

    // Draws the sheet of `model` (the far cube when null) with the given options added; returns what the
    // command printed.
    static std::string Draw(const render_test::TempFile& file, std::vector<std::string> extra,
                            const render_test::TempFile* model = nullptr) {
        const std::string source = (model != nullptr ? *model : *scene).Utf8();
        std::vector<std::string> args{source,     "--size", "96x72",   "--threads", "1",
                                      "--colors", "6",      "--unlit", "-o",        file.Utf8()};
        args.insert(args.end(), extra.begin(), extra.end());
        host::SheetOptions options;
        EXPECT_EQ(Parse(args, options), 0);
        std::ostringstream out, err;
        EXPECT_EQ(host::RunSheetCommand(options, render_test::LoadedPlugins(), out, err, false), 0)
            << err.str();
        return out.str();
    }

    static inline std::unique_ptr<render_test::TempFile> scene =
        std::make_unique<render_test::TempFile>("far_cube.json");
    const host::SheetLayout layout = host::LayOutSheet(17, 96, 72);
};

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

// Cells of the tile modes.
constexpr struct {
    int cell;
    const char* label;
} kTileCells[] = {{15, "BerconTile(Lin)"}, {16, "BerconTile(Rnd)"}};

TEST_F(FarModelSheet, CoordinateAndTileModesAreFittedToTheModelUnlessTheSceneCoordinatesAreKept) {
    const render_test::TempFile fittedFile("far_fitted.png"), keptFile("far_kept.png");
    const std::string fittedOut = Draw(fittedFile, {});
    const std::string keptOut = Draw(keptFile, {"--scene-coordinates"});
    const SheetPicture fitted(fittedFile.Path()), kept(keptFile.Path());
    ASSERT_TRUE(fitted.Loaded() && kept.Loaded());
    for (const auto& c : kCoordinateCells) {
        const int x = layout.CellX(c.cell), y = layout.CellY(c.cell);
        EXPECT_GE(fitted.Colours(x, y, layout.cellWidth, layout.cellHeight), 3) << c.label << " fitted";
        EXPECT_EQ(kept.Colours(x, y, layout.cellWidth, layout.cellHeight), 1) << c.label << " kept";
        EXPECT_EQ(fittedOut.find(std::string(c.label) + ":"), std::string::npos) << fittedOut;
        EXPECT_NE(keptOut.find(std::string("  ") + c.label + ": one colour: " + c.keptNote + "\n"),
                  std::string::npos)
            << keptOut;
    }
    host::SheetOptions options;
    EXPECT_EQ(Parse({"--scene-coordinates", "-o", "s.png"}, options), 0);
    EXPECT_TRUE(options.sceneCoordinates);
}

TEST_F(FarModelSheet, AModelsOwnTileNumbersAreKept) {
    const render_test::TempFile withTiles("far_own_tiles.json"), fittedFile("own_tiles.png"),
        keptFile("own_tiles_kept.png");
    WriteFarCube(withTiles, false, 4);
    const std::string fittedOut = Draw(fittedFile, {}, &withTiles);
    const std::string keptOut = Draw(keptFile, {"--scene-coordinates"}, &withTiles);
    const SheetPicture fitted(fittedFile.Path()), kept(keptFile.Path());
    ASSERT_TRUE(fitted.Loaded() && kept.Loaded());
    for (const auto& c : kTileCells) {
        const int x0 = layout.CellX(c.cell), y0 = layout.CellY(c.cell);
        EXPECT_EQ(fitted.Colours(x0, y0, layout.cellWidth, layout.cellHeight), 1) << c.label;
        for (int y = y0; y < y0 + layout.cellHeight; ++y)
            for (int x = x0; x < x0 + layout.cellWidth; ++x)
                ASSERT_EQ(fitted.Pixel(x, y), kept.Pixel(x, y)) << c.label << " at " << x << ", " << y;
        for (const std::string& out : {fittedOut, keptOut})
            EXPECT_NE(out.find(std::string("  ") + c.label + ": one colour: one tile number\n"),
                      std::string::npos)
                << out;
    }
}

// Which modes get which note is the note's own tests'; the sheet counts the model's keys, prints the notes
// and draws each under its cell's label.
TEST_F(FarModelSheet, ModesTheModelGivesOneColourSaySoUnderTheirLabels) {
    const render_test::TempFile file("far_notes.png");
    const std::string out = Draw(file, {});
    for (const char* line :
         {"Object (linear): one colour: one object", "Material ID: one colour: one material ID",
          "Per Element: one colour: one element per object",
          "VRay Instance (rnd) (vray): one colour: one object", "Input map: one colour: no input map"})
        EXPECT_NE(out.find(std::string("  ") + line + "\n"), std::string::npos) << line << "\n" << out;
    // Twelve triangles with their edges shown are twelve polygons.
    EXPECT_EQ(out.find("Per Face:"), std::string::npos) << out;

    const SheetPicture sheet(file.Path());
    ASSERT_TRUE(sheet.Loaded());
    const auto noteBand = [&](int cell) {
        return sheet.Colours(layout.CellX(cell), layout.NoteY(cell), layout.cellWidth,
                             layout.CellY(cell) + layout.cellHeight + layout.labelHeight - layout.NoteY(cell),
                             1);
    };
    EXPECT_GT(noteBand(5), 0) << "Per Element";
    EXPECT_EQ(noteBand(8), 0) << "Per Face";
}

TEST_F(FarModelSheet, AnInputMapTakesTheInputMapNoteAway) {
    const render_test::TempFile withInput("far_input.json"), file("far_input.png");
    WriteFarCube(withInput, true);
    host::SheetOptions options;
    ASSERT_EQ(Parse({withInput.Utf8(), "--size", "48x36", "--threads", "1", "-o", file.Utf8()}, options), 0);
    std::ostringstream out, err;
    ASSERT_EQ(host::RunSheetCommand(options, render_test::LoadedPlugins(), out, err, false), 0) << err.str();
    EXPECT_EQ(out.str().find("Input map:"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("Per Element: one colour"), std::string::npos) << out.str();
}

} // namespace
