#include "host/farm/slurm_client.h"

#include <sstream>

namespace host {

std::string SlurmProblem(const std::string& command, const std::string& output) {
    std::string last;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);)
        if (line.find_first_not_of(" \t\r") != std::string::npos)
            last = line;
    if (output.find("Unable to contact slurm controller") != std::string::npos ||
        output.find("Connection refused") != std::string::npos)
        return "Slurm's controller does not answer (" + command + ": " + last + ")";
    return command + " failed: " + (last.empty() ? "it said nothing" : last);
}

std::vector<QueuedTask> ParseQueue(const std::string& output) {
    std::vector<QueuedTask> tasks;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        QueuedTask task;
        if (words >> task.task >> task.state)
            tasks.push_back(task);
    }
    return tasks;
}

} // namespace host
