#include "host/edit/edit_command.h"

#include "host/base/text.h"
#include "host/edit/edit_script.h"
#include "host/edit/material_editor.h"
#include "host/edit/scene_arguments.h"
#include "host/scene/map_settings.h"
#include "host/scene/scene_file.h"

namespace host {

const char* EditUsage() {
    return "Usage: chromasift [--plugin-dir DIR]... edit [SCENE.json] [--script FILE] [-o OUT.json]\n\n"
           "Opens the first Chromasift map of SCENE.json in a material-editor window: a sample slot showing\n"
           "the map on a sphere, box or cylinder, rendered again after every change, then the map's About "
           "and\n"
           "parameter rollouts, its coordinates and output rollouts. Choose a picture with the bitmap\n"
           "button; File > Save writes the scene back, or to OUT.json with -o; File > Open... edits another\n"
           "scene. The title names the scene file and marks unsaved changes with *. Without SCENE.json a "
           "new\n"
           "scene with one map is edited, and -o names the file it is saved to.\n\n"
           "Options:\n"
           "  --script FILE   Replay the user actions in FILE instead of waiting for a person, then close.\n"
           "                  One action a line; # starts a comment:\n"
           "                    click ID           press the button, radio button or check box ID\n"
           "                    spinner ID VALUE   set spinner ID to VALUE, as a drag would\n"
           "                    choose ID ITEM     choose ITEM (its text as listed) in list ID\n"
           "                    bitmap FILE        use the bitmap button and pick FILE\n"
           "                    save [FILE]        write the scene (to FILE, else as File > Save)\n"
           "                    time F             move the time slider to frame F (the Frame spinner)\n"
           "                    animate on|off     switch animate mode: changes then set keys at the\n"
           "                                       slider's frame\n"
           "  -o, --output OUT.json   Where File > Save writes the scene.\n\n"
           "The editor needs a window system: the Windows build (also under Wine) has it.\n\n"
           "Example:\n  chromasift edit scene.json --script session.txt -o edited.json\n";
}

std::string ParseEditOptions(int argc, char** argv, int first, EditOptions& options) {
    return ParseSceneArguments(
        argc, argv, first, "edit",
        {{"--script", &options.script}, {"-o", &options.output}, {"--output", &options.output}},
        options.scene);
}

std::unique_ptr<SceneRoot> SceneToEdit(const EditOptions& options, const PluginManager& plugins) {
    std::unique_ptr<SceneRoot> scene;
    if (!options.scene.empty()) {
        scene = LoadScene(PathFromUtf8(options.scene), plugins);
    } else {
        ClassDesc* desc = plugins.FindClass(TEXMAP_CLASS_ID, CHROMASIFT_CLASS_ID);
        auto* map = desc == nullptr ? nullptr : static_cast<Texmap*>(desc->Create(FALSE));
        if (map == nullptr)
            throw SceneError("the Chromasift map is not installed in the plug-in directories");
        scene = std::make_unique<SceneRoot>();
        scene->AddMap(map);
    }
    for (Texmap* map : scene->Maps())
        if (map->ClassID() == CHROMASIFT_CLASS_ID)
            return scene;
    throw SceneError((options.scene.empty() ? std::string("the new scene") : options.scene) +
                     ": the scene holds no Chromasift map to edit");
}

Texmap& MapToEdit(SceneRoot& scene) {
    for (Texmap* map : scene.Maps())
        if (map->ClassID() == CHROMASIFT_CLASS_ID)
            return *map;
    throw SceneError("the scene holds no Chromasift map to edit");
}

int RunEditCommand(const EditOptions& options, const PluginManager& plugins, std::ostream& out,
                   std::ostream& err) {
    std::vector<EditAction> script;
    std::unique_ptr<SceneRoot> scene;
    try {
        if (!options.script.empty())
            script = ReadEditScript(PathFromUtf8(options.script));
        scene = SceneToEdit(options, plugins);
    } catch (const std::exception& error) {
        err << "chromasift: " << error.what() << "\n";
        return 1;
    }
    std::string saveTo = !options.output.empty() ? options.output : options.scene;
    if (!options.script.empty()) {
        EditorSession session{*scene, MapToEdit(*scene), saveTo, std::string()};
        return ReplayEditScript(session, script, out, err);
    }
    for (;;) {
        EditorSession session{*scene, MapToEdit(*scene), saveTo, std::string()};
        const int status = RunMaterialEditor(session, err);
        if (session.openNext.empty())
            return status;
        // File > Open...: the chosen scene is edited next; one that cannot be read leaves the current one.
        try {
            EditOptions next = options;
            next.scene = session.openNext;
            std::unique_ptr<SceneRoot> opened = SceneToEdit(next, plugins);
            scene = std::move(opened);
            saveTo = session.openNext;
        } catch (const std::exception& error) {
            err << "chromasift: " << error.what() << "\n";
        }
    }
}

} // namespace host
