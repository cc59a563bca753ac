#pragma once

// The "submit" command: a sequence rendered on a Slurm farm, one job array whose tasks each run
// `chromasift render --frames` on a chunk of the frames.
#include "host/farm/slurm_client.h"
#include "host/job/render_options.h"

#include <ostream>
#include <string>
#include <vector>

namespace host {

struct SubmitOptions {
    // The render options the tasks run with; `render.frames` holds the frames asked.
    RenderOptions render;
    // The arguments they came from, in order, each option by its first name and its value in an argument of
    // its own, but --frames and --skip-existing.
    std::vector<std::string> renderArguments;
    int chunk = 10;
    std::string partition;
    bool wait = false;
    // The tool's own options given before the command's name, passed on to the tasks.
    std::vector<std::string> pluginDirs;
    bool quiet = false;
};

const char* SubmitUsage();

// The render command's options, each kept in `renderArguments` as it is set but those the farm shares out
// (--frames, --skip-existing), and the farm's own: --chunk, --partition, --wait.
OptionTable SubmitOptionTable(SubmitOptions& options);

// Parses the arguments after "submit" as its table says; returns an error message, empty on success.
std::string ParseSubmitOptions(int argc, char** argv, int first, SubmitOptions& options);

// The render arguments as a task runs them on another machine: the scene and the values of the options
// that name files (the output pattern, the bitmap) as absolute paths.
std::vector<std::string> AbsoluteRenderArguments(const std::vector<std::string>& arguments);

// What a sequence's frames depend on when the scene's maps use a mode that carries a counter or a random
// stream through a job ("Random", "Linear", "Mirror") and the chunks are longer than one frame; empty when
// the frames are the same however the sequence is cut.
std::string ChunkingWarning(const SubmitOptions& options);

// Writes the job script beside the frames and submits it; with `wait`, follows the job to its end.
// Returns 0 on success, 1 when Slurm or the scene cannot be used or, with `wait`, a frame is missing.
int RunSubmitCommand(const SubmitOptions& options, SlurmClient& slurm, std::ostream& out, std::ostream& err,
                     bool terminal);

} // namespace host
