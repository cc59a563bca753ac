#pragma once

// Files the tool makes for a while (the built-in picture and its folder, a replacement's temporary file)
// are removed when the process is ended by SIGTERM (a farm cancelling a job), SIGHUP (a closed terminal)
// or SIGINT (Ctrl-C), where no destructor runs; the signal then ends the process as it would have.
#include <filesystem>

namespace host {

// While it lives, `path` (a file, or an empty folder once the files registered before it are gone) is
// removed if one of those signals ends the process. Registrations are removed newest first.
class RemovedOnSignal {
public:
    explicit RemovedOnSignal(const std::filesystem::path& path);
    ~RemovedOnSignal();
    RemovedOnSignal(const RemovedOnSignal&) = delete;
    RemovedOnSignal& operator=(const RemovedOnSignal&) = delete;

private:
    int slot = -1; // -1: no room was left, the path is not removed on a signal
};

} // namespace host
