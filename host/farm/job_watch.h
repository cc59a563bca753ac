#pragma once

// Following a submitted sequence until its job ends: one progress line, then the chunks that failed with
// their logs, judged by the frames on disk rather than by the tasks' exit codes (a cluster without an
// accounting database forgets a task as soon as it ends).
#include "host/farm/slurm_client.h"

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace host {

struct WatchedJob {
    std::string id;
    // The frames' file name pattern (see FrameFileName) and the tasks' log pattern (see TaskLogFile).
    std::string outputPattern;
    std::string logPattern;
    // The frames of each array task, task 0 first, and the tasks submitted.
    std::vector<std::vector<int>> chunks;
    std::vector<int> tasks;
};

// Follows the job until none of its tasks is queued, calling `pause` between looks. The progress line
// (frames there of frames asked, tasks running, tasks failed) redraws in place on a terminal and is
// printed again on a line of its own elsewhere whenever it changes. At the end each failed chunk is named
// with the last line of its log and the log's path. Returns 0 when every frame is there, 1 otherwise.
int WatchJob(const WatchedJob& job, SlurmClient& slurm, std::ostream& out, std::ostream& err, bool terminal,
             const std::function<void()>& pause);

// The last line of a file with anything but blanks on it; empty when there is none or no file.
std::string LastLineOf(const std::string& file);

} // namespace host
