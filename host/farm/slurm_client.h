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
};

// Slurm's commands as the PATH finds them (Linux build); the Windows build has none and says so.
std::unique_ptr<SlurmClient> SystemSlurmClient();

// One line for a Slurm command's failure, from its output: the controller not answering is told apart.
std::string SlurmProblem(const std::string& command, const std::string& output);

// squeue's lines "TASK STATE" as QueuedTask values; lines that are not are left out.
std::vector<QueuedTask> ParseQueue(const std::string& output);

} // namespace host
