// Scripted material-editor sessions (Windows build, under Wine): the actions reach the map through the
// real rollouts, and the saved scene holds what the person did.
#include "../render_test_support.h"
#include "host/edit/edit_command.h"
#include "host/scene/scene_file.h"
#include "test_files.h"

#include "hostsdk/anim_time.h"
#include "hostsdk/bitmap.h"
#include "hostsdk/param_block.h"
#include "hostsdk/tex_gen.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <utility>

namespace {

namespace fs = std::filesystem;

class EditSession : public ::testing::Test {
protected:
    void TearDown() override { GetCOREInterface()->SetQuietMode(FALSE); }

    // Runs `chromasift edit` with the script; the exit status.
    int Edit(const std::string& script, host::EditOptions options = {}) {
        const fs::path file = folder / ("session" + std::to_string(++scripts) + ".txt");
        WriteBytes(file, script);
        options.script = file.string();
        out.str("");
        err.str("");
        return host::RunEditCommand(options, render_test::LoadedPlugins(), out, err);
    }

    Texmap* SavedMap(const fs::path& file) {
        scene = host::LoadScene(file, render_test::LoadedPlugins());
        return scene->Maps().empty() ? nullptr : scene->Maps().front();
    }

    const ScratchFolder folder;
    int scripts = 0;
    std::ostringstream out;
    std::ostringstream err;
    std::unique_ptr<host::SceneRoot> scene;
};

TEST_F(EditSession, TheSavedSceneHoldsTheScriptedEdits) {
    const fs::path saved = folder / "edited.json";
    const std::string script = "choose 1019 Coordinates\n"
                               "click 1049\n"
                               "spinner 1041 5\n"
                               "spinner 1043 2\n"
                               "choose 1020 Luminance\n"
                               "bitmap " +
                               TestDataFile("images/rubberwhale1.png") +
                               "\n"
                               "spinner 1032 6\n"
                               "choose 1021 V Type\n"
                               "save " +
                               saved.string() + "\n";
    ASSERT_EQ(Edit(script), 0) << err.str();
    EXPECT_NE(out.str().find("Saved "), std::string::npos);

    Texmap* map = SavedMap(saved);
    ASSERT_NE(map, nullptr);
    IParamBlock2* block = map->GetParamBlock(0);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->GetInt(14), 2); // category: Coordinates
    EXPECT_EQ(block->GetInt(17), 3); // "As Tiles"
    EXPECT_EQ(block->GetInt(2), 13); // the combined mode shading reads
    EXPECT_EQ(block->GetInt(10), 5); // tile rows
    EXPECT_EQ(block->GetInt(11), 2); // tile columns
    EXPECT_EQ(block->GetInt(6), 2);  // sorted by luminance
    EXPECT_EQ(block->GetInt(1), 6);  // "# colors"
    EXPECT_EQ(block->GetInt(12), 2); // V harmony
    EXPECT_EQ(block->GetInt(13), 1); // harmonised
    PBBitmap* bitmap = block->GetBitmap(0);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_NE(std::wstring(bitmap->bi.Name()).find(L"rubberwhale1.png"), std::wstring::npos);
    auto* coords = static_cast<StdXYZGen*>(map->GetTheXYZGen());
    ASSERT_NE(coords, nullptr);
    EXPECT_EQ(coords->GetCoordSystem(), UVW_COORDS);
}

TEST_F(EditSession, ImpossibleActionsStopTheScriptWithTheirLine) {
    // "As Tiles" is hidden while the category is Pixels, as it is for a person.
    EXPECT_EQ(Edit("click 1046\nclick 1049\nsave " + (folder / "never.json").string() + "\n"), 1);
    EXPECT_EQ(err.str(), "chromasift: script line 2: control 1049 is hidden\n");
    EXPECT_FALSE(fs::exists(folder / "never.json"));

    const std::pair<const char*, const char*> refused[] = {
        {"choose 1020 Brightness\n", "list 1020 has no item 'Brightness'"},
        {"spinner 1019 3\n", "control 1019 is not a spinner"},
        {"click 4242\n", "the map's rollouts have no control 4242"},
        {"bitmap no/such/picture.png\n", "no/such/picture.png: no such file"},
        {"save\n", "save needs a file name: give one, or open a scene file, or use -o"},
    };
    for (const auto& [script, message] : refused) {
        EXPECT_EQ(Edit(script), 1) << script;
        EXPECT_EQ(err.str(), "chromasift: script line 1: " + std::string(message) + "\n");
    }
}

TEST_F(EditSession, TheFrameSpinnerAndTheAnimateSwitchSetKeys) {
    const fs::path saved = folder / "animated.json";
    // "Gamma" changed at frame 30 with animate on, "# colors" at frame 0 with it off.
    ASSERT_EQ(Edit("time 30\nanimate on\nspinner 1037 2.5\nanimate off\ntime 0\nspinner 1032 7\nsave " +
                   saved.string() + "\n"),
              0)
        << err.str();
    IParamBlock2* block = SavedMap(saved)->GetParamBlock(0);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->GetKeys(7), (KeyTrack{{0, 1.0f}, {FramesToTicks(30), 2.5f}}));
    EXPECT_TRUE(block->GetKeys(1).empty());
    EXPECT_EQ(block->GetInt(1, FramesToTicks(30)), 7);

    EXPECT_EQ(Edit("time 101\n"), 1);
    EXPECT_EQ(err.str(),
              "chromasift: script line 1: frame 101 lies outside the animation range, frames 0 to 100\n");
    // A scene's own animation range is the spinner's.
    host::Json document = host::ParseSceneText(host::ReadSceneFile(saved), saved.string());
    document["animationRange"] = host::Json::array({-20, 300});
    WriteBytes(saved, document.dump());
    host::EditOptions ranged;
    ranged.scene = saved.string();
    EXPECT_EQ(Edit("time 300\ntime -20\n", ranged), 0) << err.str();
    EXPECT_EQ(Edit("time 301\n", ranged), 1);
    EXPECT_EQ(err.str(),
              "chromasift: script line 1: frame 301 lies outside the animation range, frames -20 to 300\n");
}

TEST_F(EditSession, SavingGoesBackToTheSceneFileOrToTheOutput) {
    const fs::path first = folder / "first.json";
    ASSERT_EQ(Edit("spinner 1032 12\nsave " + first.string() + "\n"), 0) << err.str();
    host::EditOptions options;
    options.scene = first.string();
    ASSERT_EQ(Edit("spinner 1032 20\nsave\n", options), 0) << err.str();
    EXPECT_EQ(SavedMap(first)->GetParamBlock(0)->GetInt(1), 20);

    options.output = (folder / "second.json").string();
    ASSERT_EQ(Edit("spinner 1032 30\nsave\n", options), 0) << err.str();
    EXPECT_EQ(SavedMap(first)->GetParamBlock(0)->GetInt(1), 20);
    EXPECT_EQ(SavedMap(folder / "second.json")->GetParamBlock(0)->GetInt(1), 30);
}

TEST_F(EditSession, ASaveThatFailsSaysWhyWithItsLineAndKeepsTheScene) {
    host::EditOptions options;
    options.scene = (folder / "scene.json").string();
    ASSERT_EQ(Edit("spinner 1032 12\nsave " + options.scene + "\n"), 0) << err.str();

    // A folder where the scene should go: the scene file of the session keeps its twelve colours.
    const fs::path blocked = folder / "blocked.json";
    fs::create_directories(blocked);
    EXPECT_EQ(Edit("spinner 1032 20\nsave " + blocked.string() + "\n", options), 1);
    EXPECT_EQ(err.str(), "chromasift: script line 2: " + blocked.string() +
                             ": cannot write the file: it is a directory\n");
    EXPECT_TRUE(fs::is_empty(blocked));
    EXPECT_EQ(SavedMap(options.scene)->GetParamBlock(0)->GetInt(1), 12);
}

// While it is open the editor is the host's main window, the owner of the map's message boxes; a closed
// one must not stay their owner.
TEST_F(EditSession, TheClosedEditorIsNoLongerTheMainWindow) {
    ASSERT_EQ(Edit("spinner 1032 12\n"), 0) << err.str();
    EXPECT_EQ(GetCOREInterface()->GetMAXHWnd(), nullptr);
}

TEST_F(EditSession, TheCoordinatesAndOutputRolloutsEditTheirObjects) {
    const fs::path saved = folder / "coords.json";
    ASSERT_EQ(Edit("spinner 2023 2.5\nspinner 2051 0.5\nclick 2052\nchoose 2010 World XYZ\nsave " +
                   saved.string() + "\n"),
              0)
        << err.str();
    Texmap* map = SavedMap(saved);
    auto* coords = static_cast<StdXYZGen*>(map->GetTheXYZGen());
    EXPECT_EQ(coords->GetOffs(1, 0), 2.5f);
    EXPECT_EQ(coords->GetCoordSystem(), XYZ_WORLD_COORDS);
    auto* output = static_cast<TextureOutput*>(map->GetReference(2));
    ASSERT_NE(output, nullptr);
    EXPECT_EQ(output->GetOutputLevel(0), 0.5f);
    EXPECT_TRUE(output->GetInvert());
}

} // namespace
