#include "palette/work_team.h"

#include <algorithm>
#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

// Jobs of one k-means iteration follow each other within microseconds: a waiting thread spins this long
// before it sleeps, which saves a wake-up per job.
constexpr auto kSpin = std::chrono::microseconds(200);
// A helper that holds the caller up longer than this is not getting a processor of its own: a part takes
// some tens of microseconds.
constexpr auto kStall = std::chrono::microseconds(500);
constexpr uint32_t kMostSoloJobs = 1024;

template <typename Condition> bool SpinUntil(Condition condition) {
    const Clock::time_point end = Clock::now() + kSpin;
    for (uint32_t round = 0;; ++round) {
        if (condition())
            return true;
        if (round % 64 == 63 && Clock::now() > end)
            return false;
        std::this_thread::yield();
    }
}

} // namespace

WorkTeam::WorkTeam(uint32_t threads) {
    for (uint32_t i = 1; i < threads; ++i)
        helpers.emplace_back([this] { HelperLoop(); });
}

WorkTeam::~WorkTeam() {
    {
        std::lock_guard lock(mutex);
        stopping = true;
    }
    wake.notify_all();
    for (std::thread& helper : helpers)
        helper.join();
}

void WorkTeam::WaitForIdleHelpers(std::unique_lock<std::mutex>& lock) {
    if (busyHelpers.load() == 0)
        return;
    lock.unlock();
    SpinUntil([this] { return busyHelpers.load() == 0; });
    lock.lock();
    idle.wait(lock, [this] { return busyHelpers.load() == 0; });
}

void WorkTeam::Run(uint32_t parts, const std::function<void(uint32_t)>& work) {
    if (helpers.empty() || soloJobs > 0) {
        for (uint32_t part = 0; part < parts; ++part)
            work(part);
        if (soloJobs > 0)
            --soloJobs;
        return;
    }
    {
        std::unique_lock lock(mutex);
        // A helper that woke too late for the previous job may still hold its snapshot; the counter must
        // not be reset under it.
        WaitForIdleHelpers(lock);
        job = &work;
        jobParts = parts;
        nextPart.store(0);
        generation.fetch_add(1);
    }
    wake.notify_all();
    DoParts(&work, parts);
    const Clock::time_point finished = Clock::now();
    std::unique_lock lock(mutex);
    WaitForIdleHelpers(lock);
    if (Clock::now() - finished > kStall) {
        soloJobs = soloAfterStall;
        soloAfterStall = std::min(2 * soloAfterStall, kMostSoloJobs);
    }
}

// A helper that woke after the caller finished the job holds a pointer to a job that has ended; it finds no
// part left and so never calls it.
void WorkTeam::DoParts(const std::function<void(uint32_t)>* work, uint32_t parts) {
    for (uint32_t part = nextPart.fetch_add(1); part < parts; part = nextPart.fetch_add(1))
        (*work)(part);
}

void WorkTeam::HelperLoop() {
    uint64_t seen = 0;
    std::unique_lock lock(mutex);
    for (;;) {
        if (!stopping && generation.load() == seen) {
            lock.unlock();
            SpinUntil([&] { return generation.load() != seen; });
            lock.lock();
        }
        wake.wait(lock, [&] { return stopping || generation.load() != seen; });
        if (stopping)
            return;
        seen = generation.load();
        const std::function<void(uint32_t)>* work = job;
        const uint32_t parts = jobParts;
        busyHelpers.fetch_add(1);
        lock.unlock();
        DoParts(work, parts);
        lock.lock();
        if (busyHelpers.fetch_sub(1) == 1)
            idle.notify_all();
    }
}
