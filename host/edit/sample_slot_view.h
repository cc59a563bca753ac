#pragma once

// The material editor's sample slot (Windows build): the picture of the map on a sample object above the
// rollouts, with a list of objects and a checker-background switch beside it. Pictures are rendered on a
// thread of their own; the editor asks for one after every change of the map and shows the last finished.
#include "host/render/slot_renderer.h"

#include <windows.h>

#include <memory>
#include <optional>

namespace host {

// Posted to the editor window when a rendered picture is ready to show.
constexpr UINT kSlotPictureReady = WM_APP + 1;

class SampleSlotView {
public:
    static constexpr int kSlotSize = 128;
    static constexpr int kMargin = 6;
    static constexpr int kHeight = kSlotSize + 2 * kMargin;
    static constexpr int kShapeListId = 41001;
    static constexpr int kCheckerBoxId = 41002;

    SampleSlotView() = default;
    SampleSlotView(const SampleSlotView&) = delete;
    SampleSlotView& operator=(const SampleSlotView&) = delete;
    ~SampleSlotView();

    // Creates the slot and its controls at the top of the editor window; pictures are announced to it.
    bool Create(HWND editor);
    // Renders the map again at time t, dropping a render that is still under way.
    void Render(Texmap& map, TimeValue t);
    // Takes the finished picture and shows it.
    void ShowFinishedPicture();
    // Handles a command of the slot's own controls; true when it changed how the slot renders.
    bool Command(int control, int notification);
    // Stops rendering: the map may go away after this.
    void Stop();

    HWND Slot() const { return slot; }

private:
    static LRESULT CALLBACK SlotProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();

    HWND editor = nullptr;
    HWND slot = nullptr;
    HWND shapeList = nullptr;
    HWND checkerBox = nullptr;
    SlotSettings settings{SlotShape::Sphere, false, kSlotSize, kSlotSize, 0};
    std::unique_ptr<SlotRenderer> renderer;
    std::optional<SlotPicture> shown;
};

} // namespace host
