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

std::string TaskEndFromRecord(const std::string& record) {
    // Fields are "Name=value", separated by blanks.
    const auto field = [&record](const std::string& name) {
        for (std::size_t at = record.find(name + "="); at != std::string::npos;
             at = record.find(name + "=", at + 1))
            if (at == 0 || record[at - 1] == ' ' || record[at - 1] == '\n') {
                const std::size_t start = at + name.size() + 1;
                return record.substr(start, record.find_first_of(" \n", start) - start);
            }
        return std::string();
    };
    const std::string state = field("JobState");
    if (state.empty())
        return std::string();
    // ExitCode=STATUS:SIGNAL
    const std::string exit = field("ExitCode");
    const std::size_t colon = exit.find(':');
    const std::string status = exit.substr(0, colon);
    const std::string signal = colon == std::string::npos ? std::string() : exit.substr(colon + 1);
    if (!signal.empty() && signal != "0")
        return "state " + state + ", signal " + signal;
    if (!status.empty() && status != "0")
        return "state " + state + ", exit code " + status;
    return "state " + state;
}

} // namespace host
