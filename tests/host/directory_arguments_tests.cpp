// A folder given where the tool expects a file is named as a folder, whichever file it stands for.
#include "host/base/text.h"
#include "host/commands/palette_command.h"
#include "host/commands/render_command.h"
#include "host/job/render_options.h"
#include "host/scene/scene_file.h"

#include "render_test_support.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

TEST(DirectoryArguments, SayTheyAreDirectories) {
    const ScratchFolder scratch;
    const std::string folder = host::PathToUtf8(scratch.Path()),
                      picture = scratch.File("directory_arguments.png");
    // The files read: the scene, the bitmap, the palette's image (a folder as output is the writer's).
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{folder, "-o", picture}, {"--bitmap", folder, "-o", picture}}) {
        const render_test::Run run = render_test::RunRender(args);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find(folder), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("it is a directory"), std::string::npos) << run.err;
    }
    host::PaletteOptions image;
    image.image = folder;
    std::ostringstream out, err;
    EXPECT_EQ(host::RunPaletteCommand(image, out, err), 1);
    EXPECT_NE(err.str().find("it is a directory"), std::string::npos) << err.str();
}

} // namespace
