#include "hostsdk/anim_time.h"

#include <atomic>

namespace {

std::atomic<int> ticksPerFrame{TIME_TICKSPERSEC / 30};
std::atomic<bool> animateMode{false};
std::atomic<int> suspensions{0};

} // namespace

int GetTicksPerFrame() {
    return ticksPerFrame.load(std::memory_order_relaxed);
}

void SetTicksPerFrame(int ticks) {
    if (ticks > 0)
        ticksPerFrame.store(ticks, std::memory_order_relaxed);
}

int GetFrameRate() {
    return TIME_TICKSPERSEC / GetTicksPerFrame();
}

void AnimateOn() {
    animateMode.store(true, std::memory_order_relaxed);
}

void AnimateOff() {
    animateMode.store(false, std::memory_order_relaxed);
}

BOOL IsAnimateOn() {
    return animateMode.load(std::memory_order_relaxed) ? TRUE : FALSE;
}

BOOL Animating() {
    return animateMode.load(std::memory_order_relaxed) && suspensions.load(std::memory_order_relaxed) == 0
               ? TRUE
               : FALSE;
}

void SuspendAnimate() {
    suspensions.fetch_add(1, std::memory_order_relaxed);
}

void ResumeAnimate() {
    int pending = suspensions.load(std::memory_order_relaxed);
    while (pending > 0 &&
           !suspensions.compare_exchange_weak(pending, pending - 1, std::memory_order_relaxed)) {
    }
}
