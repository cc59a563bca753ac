#include "host/base/child_process.h"
#include "host/farm/slurm_client.h"

#include <cerrno>
#include <cstring>

namespace host {

namespace {

class CommandClient : public SlurmClient {
public:
    std::string Submit(const std::string& script) override {
        const std::string output = Run("sbatch", {"--parsable", script});
        // "ID" or "ID;CLUSTER".
        const std::string id = output.substr(0, output.find_first_of(";\r\n"));
        if (id.empty() || id.find_first_not_of("0123456789") != std::string::npos)
            throw FarmError("sbatch answered no job ID: '" + output + "'");
        return id;
    }

    std::vector<QueuedTask> Queue(const std::string& jobId) override {
        std::string output;
        const int status =
            RunStatus("squeue", {"--noheader", "--array", "--jobs=" + jobId, "--format=%K %t"}, output);
        // A job that has ended and been forgotten is no longer a valid ID to the controller.
        if (status != 0 && output.find("Invalid job id") != std::string::npos)
            return {};
        if (status != 0)
            throw FarmError(SlurmProblem("squeue", output));
        return ParseQueue(output);
    }

    std::string TaskEnd(const std::string& jobId, int task) override {
        std::string output;
        try {
            if (RunStatus("scontrol", {"--oneliner", "show", "job", jobId + "_" + std::to_string(task)},
                          output) != 0)
                return std::string();
        } catch (const FarmError&) {
            return std::string();
        }
        return TaskEndFromRecord(output);
    }

private:
    // Runs a Slurm command as the PATH finds it, with its error output joined to its output; returns its
    // exit status.
    static int RunStatus(const std::string& command, const std::vector<std::string>& arguments,
                         std::string& output) {
        ChildOptions options;
        options.joinErrors = true;
        options.seconds = 120.0;
        options.outputBytes = 1 << 20;
        const ChildResult result = RunChild(command, arguments, options);
        output = result.output;
        if (result.end == ChildResult::End::NotStarted && result.status == ENOENT)
            throw FarmError("Slurm is not installed here: no " + command +
                            " on the PATH (submit runs on a machine of a Slurm cluster; "
                            "scripts/local-slurm.sh start makes one of this machine)");
        if (result.end == ChildResult::End::NotStarted)
            throw FarmError(command + " could not be started: " + std::strerror(result.status));
        if (result.end == ChildResult::End::TimedOut)
            throw FarmError(SlurmProblem(command, "Unable to contact slurm controller: no answer in 120 s"));
        return result.end == ChildResult::End::Exited ? result.status : 128 + result.status;
    }

    static std::string Run(const std::string& command, const std::vector<std::string>& arguments) {
        std::string output;
        if (RunStatus(command, arguments, output) != 0)
            throw FarmError(SlurmProblem(command, output));
        return output;
    }
};

} // namespace

std::unique_ptr<SlurmClient> SystemSlurmClient() {
    return std::make_unique<CommandClient>();
}

} // namespace host
