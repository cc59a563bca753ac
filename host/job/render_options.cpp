#include "host/job/render_options.h"

#include "host/base/command_arguments.h"
#include "host/scene/frame_list.h"

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

} // namespace

const char* RenderUsage() {
    return R"usage(Usage: chromasift render [SCENE.json | MODEL] [--bitmap IMAGE] [--mode LABEL] [--colors N]
                         [--skip N] [--gamma G] [--hue H] [--saturation S] [--value V]
                         [--renderer scanline|vray|mentalray] [--print-shader] [--size WxH]
                         [--threads N] [--unlit] [--triangulate] [--up y|z]
                         [--import-time-limit SECONDS] [--allow-missing]
                         [--frame F | --frames LIST [--skip-existing]] -o OUT.png

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

Map settings (they set every Chromasift map of the scene, as a saved scene would):
  --bitmap IMAGE     The source picture (default: the scene's own, else a built-in picture).
  --mode LABEL       The distribution mode by its label in the map's rollout: "Random",
                     "Linear", "Mirror", "Object (linear)", "Object (random)", "Per Element",
                     "Object ID", "Material ID", "Per Face", "VRay Instance (rnd)",
                     "1D Mapping", "2D Mapping", "3D Mapping", "As Tiles", "Input map",
                     "BerconTile(Lin)", "BerconTile(Rnd)".
  --colors N         "# colors", 1-100.
  --skip N           "# colors skip", 0-30.
  --gamma G          "Gamma", 0.1-10.
  --hue H, --saturation S, --value V
                     The alterations in percent, 1-100.

Rendering:
  --renderer NAME    scanline (the host's renderer, default), vray (the V-Ray stand-in) or
                     mentalray (the mental ray stand-in: each map is translated into the host's
                     "Chromasift" mental ray shader, which shades from those parameters only).
  --print-shader     With mentalray: print every translated shader instance with all its
                     parameters and their values.
  --size WxH         The picture size (default 640x480).
  --threads N        Render threads (default: one per core).
  --unlit            Write each surface's map colour as it is, without lighting.
  --triangulate      Split a model's polygons into triangles ("Per Face" then colours triangles).
  --up y|z           A model's up axis (default: y for OBJ, PLY, glTF, FBX and Collada; z for
                     STL and 3DS).
  --import-time-limit SECONDS
                     How long a model file, or each model file a scene file names, may take
                     to read (default 60); a reader that runs longer is stopped and the
                     command fails. Model files are read by a process
                     of their own, which may also use at most half of the machine's memory.
  --allow-missing    Render although pictures that the scene's maps name are missing (each is
                     named on standard error); without it the command fails, naming them.
  -o, --output FILE  The PNG file to write; - writes it to standard output. A device or a
                     named pipe is written as it is; a file is replaced whole.
Animation (30 frames a second; a scene file may key parameters and set the time slider):
  --frame F          Render frame F (-10000000 to 10000000), with the time slider moved to F.
  --frames LIST      Render a sequence: frames and ranges separated by commas, such as 0-30 or
                     1,8-9,24, each frame once, from 0 to 10000000 (no negative frames: their
                     names would not sort in frame order). Each frame goes to the output file
                     name with its run of '#' replaced by the frame number, padded with zeros
                     (seq_####.png gives seq_0000.png, ...; a '#' in a folder is refused). The
                     frames render in ascending order as one job: as in the host, the time slider
                     stays where the scene left it and the renderer's time moves. More than 1000
                     frames: the command first says how many files it writes.
  --skip-existing    With --frames: a frame whose file is there already is not rendered again,
                     so a sequence cut short resumes where it stopped (frames are written whole,
                     never half).

Example:
  chromasift render model.obj --bitmap photo.jpg --mode "Per Face" --colors 12 -o faces.png
)usage";
}

bool RenderOptionTakesValue(const std::string& option) {
    static const char* const kValued[] = {"--bitmap",
                                          "--mode",
                                          "--colors",
                                          "--skip",
                                          "--gamma",
                                          "--hue",
                                          "--saturation",
                                          "--value",
                                          "--renderer",
                                          "--size",
                                          "--threads",
                                          "-o",
                                          "--output",
                                          "--up",
                                          "--frame",
                                          "--frames",
                                          "--import-time-limit"};
    for (const char* name : kValued)
        if (option == name)
            return true;
    return false;
}

std::string ParseRenderOptions(int argc, char** argv, int first, RenderOptions& options,
                               const std::string& command) {
    for (const CommandArgument& argument : ReadCommandArguments(argc, argv, first, RenderOptionTakesValue)) {
        const std::string& arg = argument.text;
        if (arg == "--unlit" || arg == "--triangulate") {
            (arg == "--unlit" ? options.unlit : options.model.triangulate) = true;
            continue;
        }
        if (arg == "--print-shader" || arg == "--skip-existing" || arg == "--allow-missing") {
            (arg == "--print-shader"    ? options.printShader
             : arg == "--skip-existing" ? options.skipExisting
                                        : options.allowMissing) = true;
            continue;
        }
        if (!argument.option) {
            if (!options.scene.empty())
                return "'" + command + "' takes one scene or model file, not also '" + arg + "'";
            options.scene = arg;
            continue;
        }
        if (!RenderOptionTakesValue(arg))
            return "unknown option '" + arg + "' for '" + command + "'";
        if (!argument.value)
            return arg + " needs a value";
        const std::string& value = *argument.value;
        int number = 0;
        float real = 0.0f;
        if (arg == "--bitmap") {
            options.map.bitmap = value;
        } else if (arg == "--mode") {
            const MapMode* mode = FindMapMode(value);
            if (mode == nullptr)
                return "--mode takes a mode's label as the map's rollout shows it (" + MapModeLabels() +
                       "), not '" + value + "'";
            options.map.mode = mode->combined;
        } else if (arg == "--colors") {
            if (!ParseInt(value, 1, 100, number))
                return "--colors takes a number from 1 to 100, not '" + value + "'";
            options.map.colours = number;
        } else if (arg == "--skip") {
            if (!ParseInt(value, 0, 30, number))
                return "--skip takes a number from 0 to 30, not '" + value + "'";
            options.map.skip = number;
        } else if (arg == "--gamma") {
            if (!ParseFloat(value, 0.1f, 10.0f, real))
                return "--gamma takes a number from 0.1 to 10, not '" + value + "'";
            options.map.gamma = real;
        } else if (arg == "--hue" || arg == "--saturation" || arg == "--value") {
            if (!ParseInt(value, 1, 100, number))
                return arg + " takes a percentage from 1 to 100, not '" + value + "'";
            (arg == "--hue"          ? options.map.hue
             : arg == "--saturation" ? options.map.saturation
                                     : options.map.value) = number;
        } else if (arg == "--renderer") {
            const std::optional<RendererKind> kind = FindRendererKind(value);
            if (!kind)
                return "--renderer takes scanline, vray or mentalray, not '" + value + "'";
            options.renderer = *kind;
        } else if (arg == "--size") {
            if (!ParseSize(value, options.width, options.height))
                return "--size takes WIDTHxHEIGHT, each from 1 to " + std::to_string(kMaxRenderSide) +
                       " pixels (such as 1920x1080), not '" + value + "'";
        } else if (arg == "--up") {
            if (value != "y" && value != "z")
                return "--up takes y or z, not '" + value + "'";
            options.model.upAxis = value[0];
        } else if (arg == "--import-time-limit") {
            if (!ParseFloat(value, 0.1f, 86400.0f, real))
                return "--import-time-limit takes seconds from 0.1 to 86400, not '" + value + "'";
            options.model.timeLimitSeconds = real;
        } else if (arg == "--frame") {
            if (!ParseInt(value, -kMaxFrame, kMaxFrame, number))
                return "--frame takes a frame number from " + std::to_string(-kMaxFrame) + " to " +
                       std::to_string(kMaxFrame) + ", not '" + value + "'";
            options.frame = number;
        } else if (arg == "--frames") {
            std::vector<int> frames;
            const std::string error = ParseFrameList(value, frames);
            if (!error.empty())
                return error;
            options.frames = std::move(frames);
        } else if (arg == "--threads") {
            if (!ParseInt(value, 1, 1024, number))
                return "--threads takes a number from 1 to 1024, not '" + value + "'";
            options.threads = number;
        } else {
            options.output = value;
        }
    }
    if (options.output.empty())
        return "'" + command + "' needs an output file: -o OUT.png";
    if (options.frame && options.frames)
        return "--frame and --frames cannot go together";
    if (options.frames) {
        const std::string problem = FramePatternProblem(options.output);
        if (!problem.empty())
            return "--frames: " + problem;
    }
    if (options.skipExisting && !options.frames)
        return "--skip-existing skips the frames of a sequence already written: it needs --frames";
    if (options.printShader && options.renderer != RendererKind::MentalRay)
        return "--print-shader shows mental ray's shaders: it needs --renderer mentalray";
    return std::string();
}

std::string ParseRenderOptions(std::vector<std::string> arguments, RenderOptions& options,
                               const std::string& command) {
    std::vector<char*> pointers;
    for (std::string& argument : arguments)
        pointers.push_back(argument.data());
    return ParseRenderOptions(static_cast<int>(pointers.size()), pointers.data(), 0, options, command);
}

} // namespace host
