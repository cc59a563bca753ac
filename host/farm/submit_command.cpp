#include "host/farm/submit_command.h"

#include "host/base/atomic_file.h"
#include "host/base/platform.h"
#include "host/base/text.h"
#include "host/draw/png_file.h"
#include "host/farm/job_script.h"
#include "host/farm/job_watch.h"
#include "host/import/imported_model.h"
#include "host/job/slider_keys.h"
#include "host/scene/builtin_scene.h"
#include "host/scene/frame_list.h"
#include "host/scene/map_settings.h"
#include "host/scene/model_scene.h"
#include "host/scene/scene_file.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <utility>

namespace host {

namespace {

std::string Absolute(const std::string& path) {
    return PathToUtf8(std::filesystem::absolute(PathFromUtf8(path)).lexically_normal());
}

// The scene document as the tasks will read it, with the map settings written in; model files and the
// files a scene names are read by the tasks alone.
Json SubmittedDocument(const RenderOptions& options) {
    Json document;
    if (options.scene.empty())
        document = BuiltinScene();
    else if (IsModelFile(options.scene))
        document = ModelSceneDocument();
    else
        document = ParseSceneText(ReadSceneFile(PathFromUtf8(options.scene)), options.scene);
    ApplyMapSettings(document, options.map, [] { return std::string("built-in picture"); });
    return document;
}

} // namespace

OptionTable SubmitOptionTable(SubmitOptions& options) {
    OptionTable table = RenderOptionTable(options.render);
    for (CommandOption& option : table) {
        const std::string name = option.names.front();
        if (name == "--frames") {
            option.help = "The frames, as for render: 0-47, or 1,8-9,24 (each frame once, 0 or more).";
            option.section = "Options:";
            option.required = true;
            continue;
        }
        if (name == "-o") {
            option.help = "The frames' files, with a run of '#' in the file name for the frame number.";
            option.section = "Options:";
            option.value = "PATTERN";
        } else {
            option.help.clear(); // render's help describes them
        }
        if (name == "--skip-existing")
            continue;
        // Passed on to the tasks as given, in an argument of its own.
        option.set = [&options, name, set = option.set, takesValue = !option.value.empty()](
                         const std::string& given, const std::string& value) {
            std::string error = set(given, value);
            options.renderArguments.push_back(name);
            if (takesValue)
                options.renderArguments.push_back(value);
            return error;
        };
    }
    CommandOption partition =
        ValueOption({"--partition"}, "P", "The Slurm partition to run in (default: the cluster's default).",
                    [&options](const std::string& name, const std::string& value) {
                        if (value.empty() || value.find_first_of(" \t\n'\"\\$`") != std::string::npos)
                            return name + " takes a partition's name, not '" + value + "'";
                        options.partition = value;
                        return std::string();
                    });
    // Before -o in the help, whose list --frames leads (see SubmitUsage).
    const auto output = std::find_if(
        table.begin(), table.end(), [](const CommandOption& option) { return option.names.front() == "-o"; });
    const OptionTable own = OptionSection(
        "Options:",
        {IntOption({"--chunk"}, "N", {1, 100000, "a number of frames"},
                   "Frames per task (default " + std::to_string(options.chunk) + ", {low} to {high}).",
                   [&options](int value) { options.chunk = value; }),
         partition,
         SwitchOption(
             {"--wait"},
             "Follow the job until it ends, on one progress line (frames there, tasks running, tasks "
             "failed); then name each failed chunk with the last line and path of its log. Exit "
             "status 1 when a frame is missing.",
             options.wait)});
    table.insert(output, own.begin(), own.end());
    return table;
}

const char* SubmitUsage() {
    static const std::string usage = [] {
        SubmitOptions defaults;
        OptionTable table = SubmitOptionTable(defaults);
        // --frames leads the help's list, as the first thing a submission needs.
        const auto frames = std::find_if(table.begin(), table.end(), [](const CommandOption& option) {
            return option.names.front() == "--frames";
        });
        std::rotate(table.begin(), frames, frames + 1);
        return UsageLine("submit", "[SCENE.json | MODEL]", table, "[render options]") + R"usage(
Renders a sequence on a Slurm cluster: the frames are cut into chunks of N frames, and one job
array runs `chromasift render SCENE --frames CHUNK -o PATTERN` for each chunk, on whichever
node Slurm gives it. Prints the job's ID.

The cluster's nodes must share this machine's file system, as render farms do: the tasks run
this program by its absolute path, read the scene, models and pictures by theirs, and write the
frames to PATTERN's folder. The job script is written there too (NAME.sbatch, readable: it is
what runs, and runs a chunk by hand), and each task's log beside it (NAME.JOB_TASK.log).
Frames that are there already are not rendered again: submitting the same command again after
a failure renders only the missing frames, and a chunk whose frames are all there is left out.

)usage" + OptionsHelp(table) +
               R"usage(  Every other option of render (--size, --mode, --renderer, --threads, --bitmap, ...) is passed
  on to the tasks; see 'chromasift render --help'.

Modes that carry a counter or a random stream from frame to frame through a job ("Random",
"Linear", "Mirror") give frames that depend on how the sequence is cut: submit warns when the
scene uses one with chunks of more than one frame. The other modes give the same frames
however the sequence is cut.

Slurm's commands (sbatch, squeue) are run as the PATH finds them, with the cluster their
configuration names (SLURM_CONF). scripts/local-slurm.sh start makes a cluster of this machine.

Example:
  chromasift submit shot.json --frames 1-240 --chunk 20 --size 1920x1080 --wait \
      -o frames/shot_####.png
)usage";
    }();
    return usage.c_str();
}

std::string ParseSubmitOptions(int argc, char** argv, int first, SubmitOptions& options) {
    const std::string error =
        ParseRenderCommand(SubmitOptionTable(options), argc, argv, first, options.render, "submit");
    if (!error.empty())
        return error;
    if (options.render.frame)
        return "'submit' renders sequences: --frames LIST, not --frame";
    if (!options.render.frames)
        return "'submit' needs the frames to render: --frames LIST (such as 1-240)";
    if (!options.render.scene.empty())
        options.renderArguments.insert(options.renderArguments.begin(), options.render.scene);
    return std::string();
}

std::vector<std::string> AbsoluteRenderArguments(const std::vector<std::string>& arguments) {
    RenderOptions unused;
    const OptionTable table = RenderOptionTable(unused);
    std::vector<std::string> absolute;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        const CommandOption* option = arg.rfind("-", 0) == 0 && arg != "-" ? FindOption(table, arg) : nullptr;
        if (option == nullptr) {
            absolute.push_back(arg.rfind("-", 0) != 0 || arg == "-" ? Absolute(arg) : arg);
            continue;
        }
        absolute.push_back(arg);
        if (!option->value.empty() && i + 1 < arguments.size())
            absolute.push_back(option->path ? Absolute(arguments[++i]) : arguments[++i]);
    }
    return absolute;
}

std::string ChunkingWarning(const SubmitOptions& options) {
    if (options.chunk < 2 || options.render.frames->size() < 2)
        return std::string();
    Json document = SubmittedDocument(options.render);
    std::string labels;
    for (int mode : DocumentMapModes(document))
        for (const MapMode& known : MapModes())
            if (known.combined == mode && known.shadingOrder)
                labels += std::string(labels.empty() ? "" : ", ") + "\"" + known.label + "\"";
    if (labels.empty())
        return std::string();
    return "the scene's maps use " + labels +
           ", which carry a counter or a random stream from frame to frame through a job: the frames depend "
           "on how the sequence is cut (--chunk " +
           std::to_string(options.chunk) + "), unlike those of the modes keyed on the scene";
}

int RunSubmitCommand(const SubmitOptions& options, SlurmClient& slurm, std::ostream& out, std::ostream& err,
                     bool terminal) {
    try {
        for (const std::string& warning :
             {ChunkingWarning(options), SliderKeysWarning(SubmittedDocument(options.render), options.render)})
            if (!warning.empty())
                err << "chromasift: warning: " << warning << "\n";

        FarmJob job;
        job.renderArguments = AbsoluteRenderArguments(options.renderArguments);
        const std::string pattern = Absolute(options.render.output);
        job.script = JobFileName(pattern, ".sbatch");
        job.name = "chromasift-" + PathToUtf8(PathFromUtf8(JobFileName(pattern, "")).filename());
        job.logPattern = SlurmFilePattern(JobFileName(pattern, "")) + ".%A_%a.log";
        job.partition = options.partition;
        const std::filesystem::path tool = ExecutableFile();
        if (tool.empty())
            throw FarmError("the system does not say where this program is, which the tasks must run");
        job.tool = PathToUtf8(tool);
        for (const std::string& dir : options.pluginDirs) {
            job.toolOptions.push_back("--plugin-dir");
            job.toolOptions.push_back(Absolute(dir));
        }
        if (options.quiet)
            job.toolOptions.push_back("--quiet");
        job.chunks = FrameChunks(*options.render.frames, options.chunk);
        if (const std::string refusal = JobScriptRefusal(job); !refusal.empty())
            throw FarmError("cannot submit the job: " + refusal);

        WatchedJob watched;
        watched.outputPattern = pattern;
        watched.logPattern = job.logPattern;
        watched.chunks = job.chunks;
        for (std::size_t task = 0; task < job.chunks.size(); ++task) {
            watched.tasks.push_back(static_cast<int>(task));
            for (int frame : job.chunks[task]) {
                if (!IsCompletePng(PathFromUtf8(FrameFileName(pattern, frame)))) {
                    job.tasks.push_back(static_cast<int>(task));
                    break;
                }
            }
        }
        if (job.tasks.empty()) {
            out << "Every one of the " << options.render.frames->size()
                << " frames is there already: nothing to submit\n";
            return 0;
        }
        WriteFileAtomically(PathFromUtf8(job.script), JobScriptText(job));
        watched.id = slurm.Submit(job.script);
        watched.tasks = job.tasks;
        out << "Submitted job " << watched.id << ": frames " << FrameListText(*options.render.frames)
            << " in " << job.tasks.size() << " of " << job.chunks.size() << " chunks of up to "
            << options.chunk << " frames; script " << job.script << "; logs " << job.logPattern << "\n"
            << std::flush;
        if (!options.wait)
            return 0;
        return WatchJob(watched, slurm, out, err, terminal,
                        [] { std::this_thread::sleep_for(std::chrono::seconds(1)); });
    } catch (const std::exception& e) {
        err << "chromasift: " << e.what() << "\n";
        return 1;
    }
}

} // namespace host
