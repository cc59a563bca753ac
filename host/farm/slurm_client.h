#pragma once

// What `chromasift submit` asks of Slurm, through its commands (sbatch, squeue) as a user would run them.
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace host {

// Slurm is missing, its controller does not answer, or it refused the job: the message is one line.
class FarmError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An array task in the queue, with its state as squeue abbreviates it (PD pending, R running, CG ending).
struct QueuedTask {
    int task = 0;
    std::string state;
};

class SlurmClient {
public:
    virtual ~SlurmClient() = default;
    // Submits a job script; returns the job's ID. Throws FarmError.
    virtual std::string Submit(const std::string& script) = 0;
    // The job's array tasks still in the queue; none once the job has ended. Throws FarmError.
    virtual std::vector<QueuedTask> Queue(const std::string& jobId) = 0;
    // How an ended array task ended as the controller remembers it ("state CANCELLED, signal 15"); empty
    // when it does not say (the record forgotten, or no such query). Never throws.
    virtual std::string TaskEnd(const std::string& jobId, int task) {
        (void)jobId;
        (void)task;
        return std::string();
    }
};

// Slurm's commands as the PATH finds them (Linux build); the Windows build has none and says so.
std::unique_ptr<SlurmClient> SystemSlurmClient();

// One line for a Slurm command's failure, from its output: the controller not answering is told apart.
std::string SlurmProblem(const std::string& command, const std::string& output);

// How a task ended, from `scontrol show job --oneliner` output: its JobState and the signal or exit code
// of its ExitCode ("state CANCELLED, signal 15", "state FAILED, exit code 1"); empty without a JobState.
std::string TaskEndFromRecord(const std::string& record);

// squeue's lines "TASK STATE" as QueuedTask values; lines that are not are left out.
std::vector<QueuedTask> ParseQueue(const std::string& output);

} // namespace host
