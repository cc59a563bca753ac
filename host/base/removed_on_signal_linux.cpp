#include "host/base/removed_on_signal.h"

#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstring>
#include <mutex>

namespace host {

namespace {

// The handler may only read what is there already: fixed slots of paths, each published by its state.
constexpr int kSlots = 64;
constexpr std::size_t kPathBytes = 4096;
char paths[kSlots][kPathBytes];
std::atomic<bool> used[kSlots];

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

extern "C" void RemoveAndEnd(int number) {
    // Newest first: a folder's files before the folder. unlink and rmdir are safe in a handler.
    for (int slot = kSlots - 1; slot >= 0; --slot)
        if (used[slot].load(std::memory_order_acquire) && unlink(paths[slot]) != 0)
            rmdir(paths[slot]);
    std::signal(number, SIG_DFL);
    raise(number);
}

void InstallHandlers() {
    static std::once_flag installed;
    std::call_once(installed, [] {
        for (int number : kSignals) {
            struct sigaction action {};
            struct sigaction previous {};
            sigaction(number, nullptr, &previous);
            // A signal the user ignores (nohup) stays ignored.
            if (previous.sa_handler == SIG_IGN)
                continue;
            action.sa_handler = RemoveAndEnd;
            sigemptyset(&action.sa_mask);
            for (int blocked : kSignals)
                sigaddset(&action.sa_mask, blocked);
            sigaction(number, &action, nullptr);
        }
    });
}

} // namespace

RemovedOnSignal::RemovedOnSignal(const std::filesystem::path& path) {
    const std::string& native = path.native();
    if (native.size() >= kPathBytes)
        return;
    InstallHandlers();
    static std::mutex claiming;
    const std::lock_guard<std::mutex> lock(claiming);
    // The first free slot after the newest used one, so that newer paths lie later.
    int free = kSlots;
    while (free > 0 && !used[free - 1].load(std::memory_order_relaxed))
        --free;
    if (free == kSlots)
        return;
    std::memcpy(paths[free], native.c_str(), native.size() + 1);
    used[free].store(true, std::memory_order_release);
    slot = free;
}

RemovedOnSignal::~RemovedOnSignal() {
    if (slot >= 0)
        used[slot].store(false, std::memory_order_release);
}

} // namespace host
