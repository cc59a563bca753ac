// The screenshot command: its options, and the pictures it writes (Windows build, under Wine) or the
// message that it needs the Windows build.
#include "host/edit/screenshot_command.h"

#include "host/base/text.h"
#include "host/import/builtin_picture.h"
#include "host/import/image_palette.h"

#include "host/base/platform.h"
#include "hostsdk/path_config.h"

#include "command_line.h"
#include "scratch_folder.h"

#include <gtest/gtest.h>
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#include <stb_image.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <tuple>
#include <utility>
#include <vector>

namespace {

host::ScreenshotOptions Parse(std::vector<std::string> arguments, std::string& error) {
    host::ScreenshotOptions options;
    error = ParseCommandLine(host::ParseScreenshotOptions, std::move(arguments), options);
    return options;
}

TEST(ScreenshotCommand, OptionsNameTheSceneAndTheDirectory) {
    std::string error;
    const host::ScreenshotOptions both = Parse({"scene.json", "--output", "pictures"}, error);
    EXPECT_EQ(std::make_tuple(error, both.scene, both.directory),
              std::make_tuple("", "scene.json", "pictures"));
    const std::pair<std::vector<std::string>, const char*> refused[] = {
        {{"scene.json"}, "-o DIR"},
        {{"-o"}, "needs a value"},
        {{"a.json", "b.json", "-o", "x"}, "one scene file"}};
    for (const auto& [arguments, expected] : refused) {
        Parse(arguments, error);
        EXPECT_NE(error.find(expected), std::string::npos) << error;
    }
}

#ifdef _WIN32
// A picture as the tests read it: RGB bytes, row by row from the top.
struct Shot {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;

    std::uint32_t At(int x, int y) const {
        const std::size_t i =
            (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 3;
        return static_cast<std::uint32_t>(rgb[i] << 16 | rgb[i + 1] << 8 | rgb[i + 2]);
    }
};

Shot Load(const std::filesystem::path& file) {
    Shot shot;
    int channels = 0;
    std::unique_ptr<stbi_uc, void (*)(void*)> pixels(
        stbi_load(file.string().c_str(), &shot.width, &shot.height, &channels, 3), stbi_image_free);
    if (pixels != nullptr)
        shot.rgb.assign(pixels.get(), pixels.get() + shot.width * shot.height * 3);
    return shot;
}

// The rollout's swatch frame in a picture: the widest control, whose top and bottom borders are the longest
// lines of the window system's dark frame colour; and how many pixels a dialog unit takes, from the
// frame's size in the template (189 x 61 units).
struct FrameInPicture {
    int left = 0, top = 0, right = 0, bottom = 0; // right and bottom exclusive
    double unitX = 0, unitY = 0;
};

bool Dark(std::uint32_t colour) {
    return (colour >> 16 & 0xFF) < 128 && (colour >> 8 & 0xFF) < 128 && (colour & 0xFF) < 128;
}

std::optional<FrameInPicture> FindSwatchFrame(const Shot& shot) {
    std::optional<FrameInPicture> frame;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 1, run = 1; x < shot.width; ++x) {
            // A line across the whole picture is no control's border.
            run =
                shot.At(x, y) == shot.At(x - 1, y) && Dark(shot.At(x, y)) && x + 1 < shot.width ? run + 1 : 1;
            const int width = frame ? frame->right - frame->left : 100;
            if (run > width)
                frame = FrameInPicture{x - run + 1, y, x + 1, y + 1, 0, 0};
            else if (frame && run == width && frame->right == x + 1)
                frame->bottom = y + 1;
        }
    if (frame) {
        frame->unitX = (frame->right - frame->left) / 189.0;
        frame->unitY = (frame->bottom - frame->top) / 61.0;
    }
    return frame;
}

// Whether anything but the rollout's background shows inside a control's place, given in dialog units.
bool SomethingShows(const Shot& shot, const FrameInPicture& frame, int x, int y, int width, int height) {
    const std::uint32_t background = shot.At(1, 1);
    const int left = static_cast<int>(x * frame.unitX) + 1;
    const int top = static_cast<int>(y * frame.unitY) + 1;
    const int right = static_cast<int>((x + width) * frame.unitX) - 1;
    const int bottom = static_cast<int>((y + height) * frame.unitY) - 1;
    for (int py = top; py < bottom && py < shot.height; ++py)
        for (int px = left; px < right && px < shot.width; ++px)
            if (shot.At(px, py) != background)
                return true;
    return false;
}
#endif

TEST(ScreenshotCommand, WritesAPictureOfEachWindow) {
    const ScratchFolder scratch;
    const std::filesystem::path directory = scratch / "screenshots";
    IPathConfigMgr* paths = IPathConfigMgr::GetPathConfigMgr();
    paths->AddPlugInEntry(L"Plug-ins", (host::ExecutableDirectory() / "plugins").wstring());
    host::PluginManager plugins;
    plugins.LoadAll();
    host::ScreenshotOptions options;
    options.directory = directory.string();
    std::ostringstream out;
    std::ostringstream err;
    const int status = host::RunScreenshotCommand(options, plugins, out, err);
    paths->ClearPlugInEntries();
#ifdef _WIN32
    ASSERT_EQ(status, 0) << err.str();
    for (const char* name : {"about.png", "parameters_pixels.png", "parameters_coordinates.png",
                             "parameters_input_map.png", "parameters_objects.png", "reorder.png"}) {
        SCOPED_TRACE(name);
        const Shot shot = Load(directory / name);
        EXPECT_GT(shot.width, 100);
        EXPECT_GT(shot.height, 50);
        std::set<std::uint32_t> colours;
        for (int y = 0; y < shot.height; ++y)
            for (int x = 0; x < shot.width; ++x)
                colours.insert(shot.At(x, y));
        // Text, frames and swatches: far more than a background and a frame.
        EXPECT_GT(colours.size(), 8u);
        EXPECT_NE(out.str().find(name), std::string::npos);
    }
    // The parameters rollout shows the built-in picture's ten most common colours, one row of cells, in
    // every category; and each category shows its own radios and controls.
    host::TemporaryPicture picture;
    const Palette palette = host::ExtractImagePalette(host::PathToUtf8(picture.Path()), 10, 0, -1).palette;
    ASSERT_EQ(palette.size(), 10u);
    struct Place {
        int x, y, width, height;
    };
    const Place fourthRadio{11, 229, 60, 10}, sixthRadio{142, 229, 60, 10}, inputMapButton{75, 255, 89, 12},
        tilingGroup{38, 267, 119, 34};
    const struct {
        const char* file;
        bool fourthRadio, sixthRadio, inputMap, tiling;
    } categories[] = {{"parameters_pixels.png", false, false, false, false},
                      {"parameters_coordinates.png", true, false, false, true},
                      {"parameters_input_map.png", false, false, true, false},
                      {"parameters_objects.png", true, true, false, false}};
    for (const auto& category : categories) {
        SCOPED_TRACE(category.file);
        const Shot shot = Load(directory / category.file);
        ASSERT_GT(shot.width, 0);
        const std::optional<FrameInPicture> frame = FindSwatchFrame(shot);
        ASSERT_TRUE(frame.has_value()) << "no swatch frame";
        const int cellWidth = (frame->right - frame->left) / 10;
        const int middle = (frame->top + frame->bottom) / 2;
        for (int i = 0; i < 10; ++i) {
            const PaletteEntry& entry = palette[static_cast<std::size_t>(i)];
            const auto colour = static_cast<std::uint32_t>((entry.red >> 8) << 16 | (entry.green >> 8) << 8 |
                                                           entry.blue >> 8);
            EXPECT_EQ(shot.At(frame->left + i * cellWidth + cellWidth / 2, middle), colour) << "cell " << i;
            if (i > 0) {
                EXPECT_EQ(shot.At(frame->left + i * cellWidth, middle), 0xFFFFFFu)
                    << "line before cell " << i;
            }
        }
        const auto shows = [&](const Place& place) {
            return SomethingShows(shot, *frame, place.x, place.y, place.width, place.height);
        };
        EXPECT_EQ(shows(fourthRadio), category.fourthRadio);
        EXPECT_EQ(shows(sixthRadio), category.sixthRadio);
        EXPECT_EQ(shows(inputMapButton), category.inputMap);
        EXPECT_EQ(shows(tilingGroup), category.tiling);
    }
#else
    EXPECT_EQ(status, 1);
    EXPECT_NE(err.str().find("'screenshot' needs the Windows build"), std::string::npos) << err.str();
    EXPECT_FALSE(std::filesystem::exists(directory)) << "the folder is made only for pictures";
#endif
}

} // namespace
