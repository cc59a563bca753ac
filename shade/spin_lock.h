#pragma once

// A lock for a few instructions of work that render threads take on every sample: taking and releasing
// it free are one atomic exchange and one store, where a mutex costs several times that. A thread that
// finds it held yields until it is free, so a holder that lost its processor gets it back.
#include <atomic>
#include <thread>

class SpinLock {
public:
    void lock() {
        while (held.exchange(true, std::memory_order_acquire))
            while (held.load(std::memory_order_relaxed))
                std::this_thread::yield();
    }
    void unlock() { held.store(false, std::memory_order_release); }

private:
    std::atomic<bool> held{false};
};
