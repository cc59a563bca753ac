#include "host/gltf/export_command.h"

#include "host/base/atomic_file.h"
#include "host/base/output_extension.h"
#include "host/base/progress_display.h"
#include "host/base/text.h"
#include "host/job/render_source.h"
#include "host/render/scene_renderer.h"
#include "host/scene/scene_checks.h"

#include "hostsdk/anim_time.h"
#include "hostsdk/core_interface.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iterator>

namespace host {

namespace {

// What the command writes, by extension: the first is the default, for names that do not choose.
constexpr const char* kExportExtensions[] = {"glb", "gltf", "html"};
constexpr ExportFormat kExportFormats[] = {ExportFormat::Glb, ExportFormat::Gltf, ExportFormat::Html};

std::string JoinQuoted(const std::vector<std::string>& names) {
    std::string joined;
    for (const std::string& name : names)
        joined += (joined.empty() ? "\"" : ", \"") + name + "\"";
    return joined;
}

} // namespace

OptionTable ExportOptionTable(ExportOptions& options) {
    OptionTable table = RenderOptionTable(options.render);
    // What makes a picture, not a model, is refused in the command's own words and left out of its help.
    RefuseOptions(
        table,
        {
            {"--size", "'export' writes the model, not a picture: it takes no --size"},
            {"--threads", "'export' shades on one thread: it takes no --threads"},
            {"--print-shader",
             "'export' prints no shaders: use 'chromasift render --renderer mentalray --print-shader'"},
            {"--frames", "'export' writes one frame: use --frame F"},
            {"--skip-existing",
             "'export' writes one frame: --skip-existing is for 'chromasift render --frames'"},
        });
    FindOption(table, "--unlit")->help =
        "Mark the materials unlit (KHR_materials_unlit), so that viewers show the colours without light.";
    FindOption(table, "--frame")->help = "Export frame F ({low} to {high}), with the time slider moved to F.";
    FindOption(table, "-o")->help =
        "The file to write: NAME.glb (one binary file), NAME.gltf (with NAME.bin and the baked textures "
        "NAME-N.png beside it) or NAME.html (a page that shows the model in a browser, offline).";
    OptionTable baking = OptionSection(
        "Baking:",
        {IntOption({"--texture-size"}, "N", {16, 8192, "a texture size"},
                   "The side of each baked texture in texels, {low} to {high} (default " +
                       std::to_string(options.textureSize) + ").",
                   [&options](int value) { options.textureSize = value; }),
         IntOption({"--margin"}, "N", {0, 1024, "a number of texels"},
                   "How far around the texture islands their edge colours spread, in texels, {low} to {high} "
                   "(default " +
                       std::to_string(options.margin) + ").",
                   [&options](int value) { options.margin = value; })});
    table.insert(table.end(), baking.begin(), baking.end());
    return table;
}

const char* ExportUsage() {
    static const std::string usage = [] {
        ExportOptions defaults;
        const OptionTable table = ExportOptionTable(defaults);
        return UsageLine("export", "[SCENE.json | MODEL]", table) + R"usage(
Writes every visible mesh of the scene as glTF 2.0, dressed in the colours that an unlit render
with the same options shows: for taking them into Blender, a game engine or a web page.

Modes whose colour is one per face ("Per Face", "Per Element", the object and ID modes, "VRay
Instance (rnd)", the tile modes on tile-numbered faces) export exactly: one material per colour.
Modes whose colour varies inside faces ("Random", "Linear", "Mirror", the mapping modes, "As
Tiles", "Input map") are baked into one texture per object over its texture coordinates (map
channel 1), which those objects need; "Random", "Linear" and "Mirror" then follow the texture's
texels, not the screen's pixels. "VRay Instance (rnd)" needs --renderer vray.

)usage" + OptionsHelp(table) +
               R"usage(
Example:
  chromasift export model.obj --bitmap photo.jpg --mode "Per Element" --unlit -o model.glb
  chromasift export model.obj --bitmap photo.jpg --mode "2D Mapping" -o preview.html
)usage";
    }();
    return usage.c_str();
}

std::string ParseExportOptions(int argc, char** argv, int first, ExportOptions& options) {
    RenderOptions& render = options.render;
    std::string error = ParseOptions(
        ExportOptionTable(options), argc, argv, first, "export", [&render](const std::string& operand) {
            if (!render.scene.empty())
                return "'export' takes one scene or model file, not also '" + operand + "'";
            render.scene = operand;
            return std::string();
        });
    if (!error.empty())
        return error;
    if (render.output.empty())
        return "'export' needs an output file: -o OUT.glb, OUT.gltf or OUT.html";
    if (render.output == kStandardOutputName && render.terminalOutput)
        return "-o - would write the model's bytes onto the terminal: redirect standard output to a file or "
               "a program, or name a file with -o";
    const std::string extension = OutputExtension(render.output);
    options.format = kExportFormats[0];
    if (!extension.empty()) {
        const auto known = std::find(std::begin(kExportExtensions), std::end(kExportExtensions), extension);
        if (known == std::end(kExportExtensions))
            return ExtensionRefusal("export", render.output, extension, kExportExtensions);
        options.format = kExportFormats[known - std::begin(kExportExtensions)];
    }
    // The buffer and textures of a .gltf are files beside it: they need a folder, not a stream.
    if (options.format == ExportFormat::Gltf && render.output == kStandardOutputName)
        return "a .gltf export writes files beside it: name the file with -o NAME.gltf";
    return std::string();
}

int RunExportCommand(const ExportOptions& options, const PluginManager& plugins, std::ostream& out,
                     std::ostream& err, bool showProgress) {
    const RenderOptions& render = options.render;
    TemporaryPicture picture;
    try {
        std::string warning;
        std::unique_ptr<SceneRoot> scene = PrepareRenderScene(render, plugins, picture, warning);
        if (!warning.empty())
            err << "chromasift: warning: " << warning << "\n";
        CheckSceneBeforeRender(*scene, RenderSceneOrigin(render), render.allowMissing, err);
        if (render.frame)
            GetCOREInterface()->SetTime(FramesToTicks(*render.frame));
        const TimeValue t = GetCOREInterface()->GetTime();

        RenderSettings settings;
        settings.renderer = render.renderer;
        settings.unlit = true;
        const auto start = std::chrono::steady_clock::now();
        ProgressDisplay display(err, showProgress, "Exporting");
        BakeSettings bake;
        bake.textureSize = options.textureSize;
        bake.margin = options.margin;
        std::size_t objects = 0, faces = 0, colours = 0, textures = 0;
        RenderJob job(*scene, settings);
        job.ShadeFrame(t, [&](const FrameSurfaces& frame) {
            // Shown once the export has taken a second: most take less.
            const ExportColours found = FindExportColours(frame, t, bake, [&](double done) {
                if (std::chrono::steady_clock::now() - start > std::chrono::seconds(1))
                    display.Update(static_cast<int>(done * 1000), 1000);
            });
            display.Finish();
            if (!found.overlapping.empty())
                err << "chromasift: warning: texture islands overlap in " << JoinQuoted(found.overlapping)
                    << ": where faces share texels, the baked texture shows one face's colour\n";
            WriteExport(PathFromUtf8(render.output), options.format, frame.Context(), found, render.unlit);
            objects = found.objects.size();
            colours = found.palette.size();
            for (const ObjectColours& object : found.objects) {
                faces +=
                    static_cast<std::size_t>(frame.Context().Instance(object.instance).mesh->getNumFaces());
                textures += object.texturePng.empty() ? 0 : 1;
            }
        });
        char summary[200];
        std::snprintf(
            summary, sizeof summary,
            ": %zu object%s, %zu face%s, %zu material colour%s, %zu baked texture%s, %s renderer, %.3f s",
            objects, objects == 1 ? "" : "s", faces, faces == 1 ? "" : "s", colours, colours == 1 ? "" : "s",
            textures, textures == 1 ? "" : "s", RendererName(render.renderer),
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        out << render.output << summary << "\n";
        return 0;
    } catch (const std::exception& e) {
        err << "chromasift: " << e.what() << "\n";
        return 1;
    }
}

} // namespace host
