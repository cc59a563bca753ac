#include "host/edit/screenshot_command.h"

#include "host/base/text.h"
#include "host/edit/edit_command.h"
#include "host/edit/material_editor.h"
#include "host/edit/scene_arguments.h"
#include "host/import/builtin_picture.h"
#include "host/scene/map_settings.h"

#include <exception>
#include <filesystem>

namespace host {

const char* ScreenshotUsage() {
    return "Usage: chromasift [--plugin-dir DIR]... screenshot [SCENE.json] -o DIR\n\n"
           "Opens the first Chromasift map of SCENE.json in the material editor, as 'edit' does, and\n"
           "writes PNG pictures of its windows into DIR: about.png (the About rollout),\n"
           "parameters_pixels.png, parameters_coordinates.png, parameters_input_map.png and\n"
           "parameters_objects.png (the parameters rollout in each category) and reorder.png (the\n"
           "reorder dialog of the Manual button, a drag under way). Without SCENE.json a new map takes\n"
           "its palette from the host's built-in picture. The scene is not changed.\n\n"
           "Options:\n"
           "  -o, --output DIR   The directory the pictures are written to (created when missing).\n\n"
           "The pictures need a window system: the Windows build (also under Wine) has it.\n\n"
           "Example:\n  chromasift screenshot -o docs/guide/images\n";
}

std::string ParseScreenshotOptions(int argc, char** argv, int first, ScreenshotOptions& options) {
    const std::string error =
        ParseSceneArguments(argc, argv, first, "screenshot",
                            {{"-o", &options.directory}, {"--output", &options.directory}}, options.scene);
    if (!error.empty())
        return error;
    if (options.directory.empty())
        return "'screenshot' needs the directory to write to: -o DIR";
    return std::string();
}

int RunScreenshotCommand(const ScreenshotOptions& options, const PluginManager& plugins, std::ostream& out,
                         std::ostream& err) {
    TemporaryPicture picture;
    std::unique_ptr<SceneRoot> scene;
    std::string pictureFile;
    try {
        EditOptions edit;
        edit.scene = options.scene;
        scene = SceneToEdit(edit, plugins);
        if (options.scene.empty())
            pictureFile = PathToUtf8(picture.Path());
        // Without windows there are no pictures to take, and no folder is made for them.
        if (HasWindowSystem())
            std::filesystem::create_directories(PathFromUtf8(options.directory));
    } catch (const std::exception& error) {
        err << "chromasift: " << error.what() << "\n";
        return 1;
    }
    EditorSession session{*scene, MapToEdit(*scene), std::string(), std::string()};
    return TakeScreenshots(session, pictureFile, PathFromUtf8(options.directory), out, err);
}

} // namespace host
