// A folder given where the tool expects a file is named as a folder, whichever file it stands for.
#include "host/palette_command.h"
#include "host/render/render_command.h"
#include "host/scene/scene_file.h"

#include "render_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace {

TEST(DirectoryArguments, SayTheyAreDirectories) {
    const std::string folder = std::filesystem::temp_directory_path().string();
    const auto renderError = [](const host::RenderOptions& options) {
        std::ostringstream out, err;
        EXPECT_EQ(host::RunRenderCommand(options, render_test::LoadedPlugins(), out, err, false), 1);
        return err.str();
    };
    const render_test::TempFile picture("directory_arguments.png");
    host::RenderOptions scene;
    scene.scene = folder;
    scene.output = picture.Utf8();
    host::RenderOptions bitmap;
    bitmap.map.bitmap = folder;
    bitmap.output = picture.Utf8();
    host::RenderOptions output;
    output.width = 8;
    output.height = 6;
    output.output = folder;
    for (const host::RenderOptions& options : {scene, bitmap, output}) {
        const std::string message = renderError(options);
        EXPECT_NE(message.find(folder), std::string::npos) << message;
        EXPECT_NE(message.find("it is a directory"), std::string::npos) << message;
    }

    host::PaletteOptions image;
    image.image = folder;
    host::PaletteOptions exported;
    exported.format = host::PaletteFormat::Gpl;
    exported.output = folder;
    for (const host::PaletteOptions& options : {image, exported}) {
        std::ostringstream out, err;
        EXPECT_EQ(host::RunPaletteCommand(options, out, err), 1);
        EXPECT_NE(err.str().find("it is a directory"), std::string::npos) << err.str();
    }
}

} // namespace
