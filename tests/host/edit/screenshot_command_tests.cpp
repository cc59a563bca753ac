// The screenshot command: its options, and the pictures it writes (Windows build, under Wine) or the
// message that it needs the Windows build.
#include "host/edit/screenshot_command.h"

#include "host/platform.h"
#include "hostsdk/path_config.h"

#include <gtest/gtest.h>
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#include <stb_image.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <sstream>
#include <vector>

namespace {

host::ScreenshotOptions Parse(std::vector<const char*> arguments, std::string& error) {
    arguments.insert(arguments.begin(), "screenshot");
    host::ScreenshotOptions options;
    error = host::ParseScreenshotOptions(static_cast<int>(arguments.size()),
                                         const_cast<char**>(arguments.data()), 1, options);
    return options;
}

TEST(ScreenshotCommand, OptionsNameTheSceneAndTheDirectory) {
    std::string error;
    const host::ScreenshotOptions both = Parse({"scene.json", "-o", "pictures"}, error);
    EXPECT_EQ(error, "");
    EXPECT_EQ(both.scene, "scene.json");
    EXPECT_EQ(both.directory, "pictures");
    EXPECT_EQ(Parse({"--output", "out"}, error).scene, "");
    EXPECT_EQ(error, "");
    Parse({"scene.json"}, error);
    EXPECT_NE(error.find("-o DIR"), std::string::npos) << error;
    Parse({"-o"}, error);
    EXPECT_NE(error.find("needs a value"), std::string::npos) << error;
    Parse({"a.json", "b.json", "-o", "x"}, error);
    EXPECT_NE(error.find("one scene file"), std::string::npos) << error;
}

TEST(ScreenshotCommand, WritesAPictureOfEachWindow) {
    const std::filesystem::path directory = std::filesystem::temp_directory_path() / "chromasift_screenshots";
    std::filesystem::remove_all(directory);
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
        const std::string file = (directory / name).string();
        int width = 0;
        int height = 0;
        int channels = 0;
        std::unique_ptr<stbi_uc, void (*)(void*)> pixels(
            stbi_load(file.c_str(), &width, &height, &channels, 4), stbi_image_free);
        ASSERT_NE(pixels, nullptr) << stbi_failure_reason();
        EXPECT_GT(width, 100);
        EXPECT_GT(height, 50);
        std::set<std::uint32_t> colours;
        const auto* rgba = reinterpret_cast<const std::uint32_t*>(pixels.get());
        for (int i = 0; i < width * height; ++i)
            colours.insert(rgba[i]);
        // Text, frames and swatches: far more than a background and a frame.
        EXPECT_GT(colours.size(), 8u);
        EXPECT_NE(out.str().find(name), std::string::npos);
    }
    // Each category lays out other controls.
    const auto bytes = [&](const char* name) {
        std::ifstream in(directory / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    EXPECT_NE(bytes("parameters_pixels.png"), bytes("parameters_objects.png"));
#else
    EXPECT_EQ(status, 1);
    EXPECT_NE(err.str().find("'screenshot' needs the Windows build"), std::string::npos) << err.str();
    EXPECT_FALSE(std::filesystem::exists(directory / "about.png"));
#endif
    std::filesystem::remove_all(directory);
}

} // namespace
