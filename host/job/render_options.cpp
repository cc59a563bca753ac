#include "host/job/render_options.h"

#include "host/base/atomic_file.h"
#include "host/base/command_arguments.h"
#include "host/base/output_extension.h"
#include "host/scene/frame_list.h"

#include "plugin/param_ranges.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace host {

namespace {

// "WxH" with both sides from 1 to kMaxRenderSide.
bool ParseSize(const std::string& text, int& width, int& height) {
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string::npos)
        return false;
    return ParseInt(text.substr(0, x), 1, kMaxRenderSide, width) &&
           ParseInt(text.substr(x + 1), 1, kMaxRenderSide, height);
}

// The bounds of a map parameter as its parameter block declares them.
template <class T> OptionBounds MapBounds(const ParamRange<T>& range, const char* noun) {
    return {static_cast<double>(range.low), static_cast<double>(range.high), noun};
}

OptionTable MapSettingOptions(MapSettings& map) {
    return OptionSection(
        "Map settings (they set every Chromasift map of the scene, as a saved scene would):",
        {
            PathOption({"--bitmap"}, "IMAGE",
                       "The source picture (default: the scene's own, else a built-in picture).",
                       [&map](const std::string& file) { map.bitmap = file; }),
            ValueOption({"--mode"}, "LABEL",
                        "The distribution mode by its label in the map's rollout: " + MapModeLabels() + ".",
                        [&map](const std::string& name, const std::string& value) {
                            const MapMode* mode = FindMapMode(value);
                            if (mode == nullptr)
                                return name + " takes a mode's label as the map's rollout shows it (" +
                                       MapModeLabels() + "), not '" + value + "'";
                            map.mode = mode->combined;
                            return std::string();
                        }),
            IntOption({"--colors"}, "N", MapBounds(kNumColorsRange, "a number"),
                      "\"# colors\", {low}-{high}.", [&map](int value) { map.colours = value; }),
            IntOption({"--skip"}, "N", MapBounds(kSkipColorsRange, "a number"),
                      "\"# colors skip\", {low}-{high}.", [&map](int value) { map.skip = value; }),
            FloatOption({"--gamma"}, "G", MapBounds(kGammaRange, "a number"), "\"Gamma\", {low}-{high}.",
                        [&map](float value) { map.gamma = value; }),
            IntOption({"--hue"}, "H", MapBounds(kHueAlterationRange, "a percentage"),
                      "The alterations in percent, {low}-{high}.", [&map](int value) { map.hue = value; }),
            IntOption({"--saturation"}, "S", MapBounds(kSaturationAlterationRange, "a percentage"),
                      "The alterations in percent, {low}-{high}.",
                      [&map](int value) { map.saturation = value; }),
            IntOption({"--value"}, "V", MapBounds(kValueAlterationRange, "a percentage"),
                      "The alterations in percent, {low}-{high}.", [&map](int value) { map.value = value; }),
        });
}

OptionTable RenderingOptions(RenderOptions& options) {
    CommandOption renderer = ValueOption(
        {"--renderer"}, "NAME",
        "scanline (the host's renderer, default), vray (the V-Ray stand-in) or mentalray (the mental ray "
        "stand-in: each map is translated into the host's \"Chromasift\" mental ray shader, which shades "
        "from those parameters only).",
        [&options](const std::string& name, const std::string& value) {
            const std::optional<RendererKind> kind = FindRendererKind(value);
            if (!kind)
                return name + " takes scanline, vray or mentalray, not '" + value + "'";
            options.renderer = *kind;
            return std::string();
        });
    renderer.choices = "scanline|vray|mentalray";
    const std::string side = std::to_string(kMaxRenderSide);
    CommandOption output = PathOption({"-o", "--output"}, "FILE",
                                      "The PNG file to write; - writes it to standard output. A device or a "
                                      "named pipe is written as it is; a file is replaced whole.",
                                      [&options](const std::string& file) { options.output = file; });
    output.required = true;
    return OptionSection(
        "Rendering:",
        {
            renderer,
            SwitchOption({"--print-shader"},
                         "With mentalray: print every translated shader instance with all its parameters and "
                         "their values.",
                         options.printShader),
            ValueOption({"--size"}, "WxH",
                        "The picture size (default " + std::to_string(options.width) + "x" +
                            std::to_string(options.height) + "), each side from 1 to " + side + " pixels.",
                        [&options, side](const std::string& name, const std::string& value) {
                            if (!ParseSize(value, options.width, options.height))
                                return name + " takes WIDTHxHEIGHT, each from 1 to " + side +
                                       " pixels (such as 1920x1080), not '" + value + "'";
                            return std::string();
                        }),
            IntOption({"--threads"}, "N", {1, 1024, "a number"},
                      "Render threads, {low} to {high} (default: one per core).",
                      [&options](int value) { options.threads = value; }),
            SwitchOption({"--unlit"}, "Write each surface's map colour as it is, without lighting.",
                         options.unlit),
            SwitchOption({"--triangulate"},
                         "Split a model's polygons into triangles (\"Per Face\" then colours triangles).",
                         options.model.triangulate),
            ValueOption(
                {"--up"}, "y|z",
                "A model's up axis (default: y for OBJ, PLY, glTF, FBX and Collada; z for STL and 3DS).",
                [&options](const std::string& name, const std::string& value) {
                    if (value != "y" && value != "z")
                        return name + " takes y or z, not '" + value + "'";
                    options.model.upAxis = value[0];
                    return std::string();
                }),
            FloatOption(
                {"--import-time-limit"}, "SECONDS", {0.1, 86400, "seconds"},
                "How long a model file, or each model file a scene file names, may take to read, "
                "{low} to {high} (default " +
                    BoundText(options.model.timeLimitSeconds) +
                    "); a reader that runs longer is stopped and the command fails. Model files are "
                    "read by a process of their own, which may also use at most half of the machine's "
                    "memory.",
                [&options](float value) { options.model.timeLimitSeconds = value; }),
            SwitchOption({"--allow-missing"},
                         "Render although pictures that the scene's maps name are missing (each is named on "
                         "standard error); without it the command fails, naming them.",
                         options.allowMissing),
            output,
        });
}

OptionTable AnimationOptions(RenderOptions& options) {
    return OptionSection(
        "Animation (30 frames a second; a scene file may key parameters and set the time slider):",
        {
            IntOption({"--frame"}, "F", {-kMaxFrame, kMaxFrame, "a frame number"},
                      "Render frame F ({low} to {high}), with the time slider moved to F.",
                      [&options](int value) { options.frame = value; }),
            ValueOption(
                {"--frames"}, "LIST",
                "Render a sequence: frames and ranges separated by commas, such as 0-30 or 1,8-9,24, each "
                "frame once, from 0 to " +
                    std::to_string(kMaxFrame) +
                    " (no negative frames: their names would not sort in frame order). Each frame goes to "
                    "the output file name with its run of '#' replaced by the frame number, padded with "
                    "zeros "
                    "(seq_####.png gives seq_0000.png, ...; a '#' in a folder is refused, and so is a frame "
                    "number wider than the run). The frames render in ascending order as one job: as in the "
                    "host, the time slider stays where the scene left "
                    "it and the renderer's time moves. More than " +
                    std::to_string(kManyFrames) + " frames: the command first says how many files it writes.",
                [&options](const std::string& name, const std::string& value) {
                    std::vector<int> frames;
                    std::string error = ParseFrameList(value, frames, name);
                    if (error.empty())
                        options.frames = std::move(frames);
                    return error;
                }),
            SwitchOption(
                {"--skip-existing"},
                "With --frames: a frame whose file is there already is not rendered again, so a "
                "sequence cut short resumes where it stopped (frames are written whole, never half).",
                options.skipExisting),
        });
}

// The extensions of the pictures the commands that render write.
const char* const kPictureExtensions[] = {"png"};

// Why the frames' numbers do not fit the run of '#' of the output pattern: names of several widths would
// no longer sort in frame order. Empty when they fit.
std::string FrameWidthProblem(const std::string& pattern, int lastFrame) {
    const std::string name = FrameFileName(pattern, lastFrame);
    if (name.size() == pattern.size())
        return std::string();
    const std::size_t digits = std::to_string(lastFrame).size();
    const std::size_t hashes = digits - (name.size() - pattern.size());
    return "--frames: frame " + std::to_string(lastFrame) + " needs " + std::to_string(digits) +
           " digits, but the file name of -o " + pattern + " has a run of " + std::to_string(hashes) +
           " '#': write " + std::string(digits, '#') + " for it";
}

// What the options say together, once each was read.
std::string CheckRenderOptions(const RenderOptions& options, const std::string& command) {
    if (options.output.empty())
        return "'" + command + "' needs an output file: -o OUT.png";
    if (options.output == kStandardOutputName && options.terminalOutput)
        return "-o - would write the picture's bytes onto the terminal: redirect standard output to a file "
               "or a program, or name a file with -o";
    if (const std::string extension = OutputExtension(options.output);
        !extension.empty() && extension != kPictureExtensions[0])
        return ExtensionRefusal(command, options.output, extension, kPictureExtensions);
    if (options.frame && options.frames)
        return "--frame and --frames cannot go together";
    if (options.frames) {
        const std::string problem = FramePatternProblem(options.output);
        if (!problem.empty())
            return "--frames: " + problem;
        if (const std::string width = FrameWidthProblem(options.output, options.frames->back());
            !width.empty())
            return width;
    }
    if (options.skipExisting && !options.frames)
        return "--skip-existing skips the frames of a sequence already written: it needs --frames";
    if (options.printShader && options.renderer != RendererKind::MentalRay)
        return "--print-shader shows mental ray's shaders: it needs --renderer mentalray";
    return std::string();
}

} // namespace

OptionTable RenderOptionTable(RenderOptions& options) {
    OptionTable table = MapSettingOptions(options.map);
    for (OptionTable part : {RenderingOptions(options), AnimationOptions(options)})
        table.insert(table.end(), part.begin(), part.end());
    return table;
}

const char* RenderUsage() {
    static const std::string usage = [] {
        RenderOptions defaults;
        const OptionTable table = RenderOptionTable(defaults);
        return UsageLine("render", "[SCENE.json | MODEL]", table) + R"usage(
Renders a scene with the Chromasift map and writes the picture as a PNG file.

What is rendered:
  SCENE.json         A scene file. Its objects may name model files ("meshFile", relative to
                     the scene file).
  MODEL              A model file: OBJ, PLY, STL, 3DS, glTF/GLB, FBX or Collada (Linux build).
                     Every mesh node becomes a node of its own, materials become face material
                     IDs, texture coordinates map channel 1; all parts wear one material with a
                     Chromasift map, and the camera frames the model.
  (nothing)          The built-in scene: a box, a sphere, a cylinder and a polygon box on a
                     ground plane, all wearing one material with a Chromasift map.

)usage" + OptionsHelp(table) +
               R"usage(
An option's value may also follow its name after '=': --size=1920x1080.

Example:
  chromasift render model.obj --bitmap photo.jpg --mode "Per Face" --colors 12 -o faces.png
)usage";
    }();
    return usage.c_str();
}

std::string ParseRenderCommand(const OptionTable& table, int argc, char** argv, int first,
                               RenderOptions& options, const std::string& command) {
    const std::string error =
        ParseOptions(table, argc, argv, first, command, [&options, &command](const std::string& operand) {
            if (!options.scene.empty())
                return "'" + command + "' takes one scene or model file, not also '" + operand + "'";
            options.scene = operand;
            return std::string();
        });
    return error.empty() ? CheckRenderOptions(options, command) : error;
}

std::string ParseRenderOptions(int argc, char** argv, int first, RenderOptions& options,
                               const std::string& command) {
    return ParseRenderCommand(RenderOptionTable(options), argc, argv, first, options, command);
}

} // namespace host
