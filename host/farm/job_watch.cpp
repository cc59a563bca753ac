#include "host/farm/job_watch.h"

#include "host/base/text.h"
#include "host/draw/png_file.h"
#include "host/farm/job_script.h"
#include "host/scene/frame_list.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

namespace host {

namespace {

bool FrameThere(const WatchedJob& job, int frame) {
    return IsCompletePng(PathFromUtf8(FrameFileName(job.outputPattern, frame)));
}

std::vector<int> MissingFrames(const WatchedJob& job, int task) {
    std::vector<int> missing;
    for (int frame : job.chunks[static_cast<std::size_t>(task)])
        if (!FrameThere(job, frame))
            missing.push_back(frame);
    return missing;
}

std::string Count(std::size_t count, const char* word) {
    return std::to_string(count) + " " + word + (count == 1 ? "" : "s");
}

} // namespace

std::string LastLineOf(const std::string& file) {
    std::ifstream in(PathFromUtf8(file), std::ios::binary);
    std::string last;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.find_first_not_of(" \t") != std::string::npos)
            last = line;
    }
    return last;
}

int WatchJob(const WatchedJob& job, SlurmClient& slurm, std::ostream& out, std::ostream& err, bool terminal,
             const std::function<void()>& pause) {
    std::size_t asked = 0;
    for (const std::vector<int>& chunk : job.chunks)
        asked += chunk.size();
    std::set<int> failed;
    std::string shown;
    while (true) {
        const std::vector<QueuedTask> queue = slurm.Queue(job.id);
        std::set<int> queued;
        int running = 0;
        for (const QueuedTask& task : queue) {
            queued.insert(task.task);
            running += task.state == "R" || task.state == "CG";
        }
        // A task that has left the queue without writing all its frames failed, whatever it exited with.
        for (int task : job.tasks)
            if (queued.count(task) == 0 && !MissingFrames(job, task).empty())
                failed.insert(task);
        std::size_t there = 0;
        for (const std::vector<int>& chunk : job.chunks)
            for (int frame : chunk)
                there += FrameThere(job, frame);
        const std::string line = "Job " + job.id + ": " + std::to_string(there) + " of " +
                                 Count(asked, "frame") + ", " +
                                 Count(static_cast<std::size_t>(running), "task") + " running, " +
                                 std::to_string(failed.size()) + " failed";
        if (line != shown) {
            if (terminal)
                err << "\r" << line
                    << std::string(shown.size() > line.size() ? shown.size() - line.size() : 0, ' ')
                    << std::flush;
            else
                err << line << "\n";
            shown = line;
        }
        if (queue.empty())
            break;
        pause();
    }
    if (terminal)
        err << "\n";

    std::size_t missing = 0;
    for (int task : job.tasks) {
        const std::vector<int> frames = MissingFrames(job, task);
        missing += frames.size();
        if (frames.empty())
            continue;
        const std::string log = TaskLogFile(job.logPattern, job.id, task);
        std::string said = LastLineOf(log);
        // A task killed (cancelled, out of time or memory) often writes nothing: Slurm knows how it ended.
        if (said.empty()) {
            const std::string end = slurm.TaskEnd(job.id, task);
            said = "its log says nothing" + (end.empty() ? std::string() : "; Slurm says " + end);
        }
        err << "chromasift: task " << task << " (frames "
            << FrameListText(job.chunks[static_cast<std::size_t>(task)]) << ") failed, "
            << FrameListText(frames) << " missing: " << said << "\n  log: " << log << "\n";
    }
    if (missing > 0) {
        err << "chromasift: " << missing << " of " << Count(asked, "frame")
            << " missing; submitting the same command again renders only those\n";
        return 1;
    }
    out << "All " << Count(asked, "frame") << " are there\n";
    return 0;
}

} // namespace host
