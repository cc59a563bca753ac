#pragma once

// The options of every command that renders (render, sheet, submit): what they set and how they are read.
#include "host/base/option_table.h"
#include "host/import/imported_model.h"
#include "host/render/renderers.h"
#include "host/scene/map_settings.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace host {

struct RenderOptions {
    // A scene file, or a model file (by its extension); empty for the built-in scene.
    std::string scene;
    // How a model file is read.
    ModelImportOptions model;
    MapSettings map;
    RendererKind renderer = RendererKind::Scanline;
    int width = 640;
    int height = 480;
    int threads = 0;
    bool unlit = false;
    // --allow-missing: render although pictures the scene's maps name are missing.
    bool allowMissing = false;
    // Print every mental ray shader instance as its map translated it.
    bool printShader = false;
    // --frame: the frame rendered, with the time slider moved to it.
    std::optional<int> frame;
    // --frames: the frames of a range render, ascending; the output file name's run of '#' takes the frame
    // number (see FrameFileName).
    std::optional<std::vector<int>> frames;
    // --skip-existing: a frame of a range whose file is there already is not rendered again.
    bool skipExisting = false;
    std::string output;
    // Standard output is a terminal (the tool sets it): a picture written there with -o - is refused.
    bool terminalOutput = false;
};

// The largest picture side the command renders.
inline constexpr int kMaxRenderSide = 8192;

// A range of more frames than this says first how many files it writes.
inline constexpr std::size_t kManyFrames = 1000;

// Every option of the commands that render, declared once, setting `options`: the map settings, the
// rendering, the animation. A command builds its own table from it, leaving out, refusing or adding
// options; the values `options` holds when the table is built are the defaults its help names.
OptionTable RenderOptionTable(RenderOptions& options);

// The command's help: usage, options and an example.
const char* RenderUsage();

// Sets `options` from the arguments after a command that renders (`command` names it in messages) as its
// `table` says, the one operand being the scene or model file, and checks that the options go together.
// Returns an error message, empty on success. Options left out keep the values `options` holds.
std::string ParseRenderCommand(const OptionTable& table, int argc, char** argv, int first,
                               RenderOptions& options, const std::string& command);
// The same with the render command's own table.
std::string ParseRenderOptions(int argc, char** argv, int first, RenderOptions& options,
                               const std::string& command = "render");

} // namespace host
