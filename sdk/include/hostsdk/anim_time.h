#pragma once

// Time as the host counts it: ticks (4800 a second), frames of a settable length, and the animate mode
// that decides whether changing an animatable parameter sets a key.
#include "hostsdk/max_types.h"
#include "hostsdk/sdk_api.h"

constexpr int TIME_TICKSPERSEC = 4800;

// Ticks a frame lasts: 160 at the default 30 frames a second.
SDK_API int GetTicksPerFrame();
SDK_API void SetTicksPerFrame(int ticks);
SDK_API int GetFrameRate();
inline TimeValue FramesToTicks(int frame) {
    return static_cast<TimeValue>(frame) * GetTicksPerFrame();
}

// Animate mode ("Auto Key"). Animating() is TRUE while the mode is on and no suspension is pending;
// suspensions nest, so code that must not set keys brackets its changes with SuspendAnimate/ResumeAnimate.
SDK_API void AnimateOn();
SDK_API void AnimateOff();
SDK_API BOOL Animating();
SDK_API BOOL IsAnimateOn();
SDK_API void SuspendAnimate();
SDK_API void ResumeAnimate();

// Suspends animate mode for its lifetime.
class AnimateSuspend {
public:
    AnimateSuspend() { SuspendAnimate(); }
    ~AnimateSuspend() { ResumeAnimate(); }
    AnimateSuspend(const AnimateSuspend&) = delete;
    AnimateSuspend& operator=(const AnimateSuspend&) = delete;
};
