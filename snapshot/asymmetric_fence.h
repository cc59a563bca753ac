#pragma once

// Fences split unevenly between many frequent readers and a rare writer: a reader orders its store of
// what it holds before its next load with a compiler barrier only, and the writer makes every running
// thread of the process pass a full barrier before it looks at what readers hold.
//
// The writer's barrier is the Linux kernel's membarrier. Where it cannot be had (an old or locked-down
// kernel) Available() is false and both sides fall back to full fences: slower readers, the same
// guarantees. Windows builds always take the full fences: their tests run under Wine, where the system's
// process-wide barrier does nothing, so a barrier path there could never be tested. The choice is made once
// per process, before the first reader, and never changes.
//
// ThreadSanitizer models neither the kernel's barrier nor standalone fences, so its builds order every
// access of the scheme sequentially consistently instead, and the fences compile to nothing.
#include <atomic>

namespace asymmetric_fence {

#if defined(__SANITIZE_THREAD__)
inline constexpr bool kSequentialAccesses = true;
#else
inline constexpr bool kSequentialAccesses = false;
#endif

// The orders of a reader's store of what it holds, of its loads checked against it, and of its release.
inline constexpr std::memory_order kHoldOrder =
    kSequentialAccesses ? std::memory_order_seq_cst : std::memory_order_relaxed;
inline constexpr std::memory_order kCheckOrder =
    kSequentialAccesses ? std::memory_order_seq_cst : std::memory_order_acquire;
inline constexpr std::memory_order kReleaseOrder =
    kSequentialAccesses ? std::memory_order_seq_cst : std::memory_order_release;

// True when the process-wide barrier works here. The first call decides (and registers the process for
// it where the kernel asks for that).
bool Available();

// Makes Available() false in this process, so that tests run the full-fence path where the barrier works
// too. Has an effect only before the first call of Available().
void ForceFullFences();

// The full fence of both sides when the process-wide barrier is missing.
inline void FullFence() {
#if !defined(__SANITIZE_THREAD__)
    std::atomic_thread_fence(std::memory_order_seq_cst);
#endif
}

// The reader's side, between its store of what it holds and its next load; available is Available().
inline void Light(bool available) {
    if (available)
        std::atomic_signal_fence(std::memory_order_seq_cst);
    else
        FullFence();
}

// The writer's side: when it returns true, every thread of the process has passed a full barrier since
// the call began (without the process-wide barrier, the caller's own full fence, which readers match with
// theirs). False when the process-wide barrier failed: the caller must then free nothing it guards.
bool Heavy();

// The platform's process-wide barrier itself, for the files that provide it: false if it failed.
bool RegisterProcessBarrier();
bool ProcessBarrier();

} // namespace asymmetric_fence
