#pragma once

// The job script `chromasift submit` hands to Slurm: one job array whose tasks each render one chunk of a
// sequence with `chromasift render`. It is written beside the frames, readable, so that a person can see
// what runs on the farm and run a chunk again by hand.
#include <string>
#include <vector>

namespace host {

struct FarmJob {
    // The job's name in the queue.
    std::string name;
    // The script's own absolute path.
    std::string script;
    // The tool's absolute path: the farm's nodes share this machine's file system.
    std::string tool;
    // Options that go before the command's name (--plugin-dir, --quiet).
    std::vector<std::string> toolOptions;
    // The render command's arguments but --frames, with absolute paths; they include -o PATTERN.
    std::vector<std::string> renderArguments;
    // The frames of each array task, task 0 first.
    std::vector<std::vector<int>> chunks;
    // The array tasks submitted (the chunks with frames still missing).
    std::vector<int> tasks;
    // Each task's output as Slurm's file-name pattern: %A the job ID, %a the task, %% a '%' of the path.
    std::string logPattern;
    // The partition asked for; empty for the cluster's default.
    std::string partition;
};

// The script's text: Slurm's options, the chunks by task, and the render command each task runs.
std::string JobScriptText(const FarmJob& job);

// Why the job's names cannot go into a job script: one holds a control character, which no quoting keeps
// on its line (a line break would make the rest of a name a command of the script), or the log's holds a
// backslash, which turns Slurm's file-name patterns off. Empty when they can.
std::string JobScriptRefusal(const FarmJob& job);

// A path as Slurm's file-name patterns take it: every '%' doubled, so that none expands.
std::string SlurmFilePattern(const std::string& path);

// A word for a POSIX shell, in single quotes when it needs any.
std::string ShellWord(const std::string& word);

// Slurm's compact list of task numbers: {0, 1, 2, 4} gives "0-2,4".
std::string TaskList(const std::vector<int>& tasks);

// The files of a sequence's job, beside its frames: the pattern's file name without its run of '#' (and
// the separators around it) and its extension, "seq" for "out/seq_####.png", then `suffix`.
std::string JobFileName(const std::string& outputPattern, const std::string& suffix);

// The log file of one task of a submitted job, from the log pattern (%A, %a and %% replaced).
std::string TaskLogFile(const std::string& logPattern, const std::string& jobId, int task);

} // namespace host
