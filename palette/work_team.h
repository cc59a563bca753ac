#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// The calling thread plus helper threads, sharing jobs that are split into independent parts. Whoever is
// free claims the next part, so a helper that wakes late (on a busy machine) delays a job by at most the
// part it is working on; the caller alone finishes every job if it must. Should a helper still hold a job
// up for long (its processor taken by another program), the caller works alone for a while, for longer
// each time it happens again.
class WorkTeam {
public:
    // threads counts the caller: 1 means no helper thread at all.
    explicit WorkTeam(uint32_t threads);
    ~WorkTeam();
    WorkTeam(const WorkTeam&) = delete;
    WorkTeam& operator=(const WorkTeam&) = delete;

    // Threads that may take part in the next job.
    uint32_t Size() const { return soloJobs > 0 ? 1 : static_cast<uint32_t>(helpers.size()) + 1; }

    // Calls work(part) once for every part in [0, parts) and returns when all calls have returned.
    void Run(uint32_t parts, const std::function<void(uint32_t)>& work);

private:
    void HelperLoop();
    void DoParts(const std::function<void(uint32_t)>* work, uint32_t parts);
    void WaitForIdleHelpers(std::unique_lock<std::mutex>& lock);

    std::vector<std::thread> helpers;
    uint32_t soloJobs = 0;       // jobs the caller still runs alone
    uint32_t soloAfterStall = 4; // how many after the next stall
    std::mutex mutex;
    std::condition_variable wake; // a new job or the end
    std::condition_variable idle; // the last busy helper has left a job
    // Written under mutex; atomic so that waiting threads can first spin on them without the lock.
    std::atomic<uint64_t> generation{0};
    std::atomic<uint32_t> busyHelpers{0}; // helpers holding a snapshot of the current job
    bool stopping = false;
    const std::function<void(uint32_t)>* job = nullptr;
    uint32_t jobParts = 0;
    std::atomic<uint32_t> nextPart{0};
};
