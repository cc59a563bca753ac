#include "host/farm/slurm_client.h"

namespace host {

namespace {

// Slurm's commands run on Linux machines only.
class NoClient : public SlurmClient {
public:
    std::string Submit(const std::string&) override { throw Missing(); }
    std::vector<QueuedTask> Queue(const std::string&) override { throw Missing(); }

private:
    static FarmError Missing() {
        return FarmError("Slurm is not available in the Windows build: submit from a Linux machine of the "
                         "cluster, with the Linux build of chromasift");
    }
};

} // namespace

std::unique_ptr<SlurmClient> SystemSlurmClient() {
    return std::make_unique<NoClient>();
}

} // namespace host
