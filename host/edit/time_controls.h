#pragma once

// The material editor's time controls (Windows build): the current frame as a spinner, standing in for the
// host's time slider, and the animate-mode switch, with which changing a value sets a key at that frame.
#include "hostsdk/custom_controls.h"

#include <windows.h>

namespace host {

class TimeControls {
public:
    static constexpr int kFrameEditId = 41003;
    static constexpr int kFrameSpinnerId = 41004;
    static constexpr int kAnimateBoxId = 41005;

    TimeControls() = default;
    TimeControls(const TimeControls&) = delete;
    TimeControls& operator=(const TimeControls&) = delete;
    ~TimeControls();

    // Creates the controls in the editor window with their top left at x, y, showing the slider's frame
    // (within the animation range) and the animate mode as they are.
    bool Create(HWND editor, int x, int y);
    // The frame spinner changed: the time slider follows it. True when it was this spinner.
    bool SpinnerChanged(int control);
    // The animate switch was clicked: animate mode follows it. True when it was this switch.
    bool Command(int control, int notification);

    // What a person does: moves the spinner to the frame (through its own notification) and clicks the
    // switch.
    void GoToFrame(int frame);
    void SetAnimate(bool on);

private:
    HWND editor = nullptr;
    HWND animateBox = nullptr;
    ISpinnerControl* frames = nullptr;
};

} // namespace host
