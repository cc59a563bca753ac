#include "host/edit/time_controls.h"

#include "hostsdk/anim_time.h"
#include "hostsdk/core_interface.h"

namespace host {
namespace {

HWND Child(HWND parent, const wchar_t* windowClass, const wchar_t* text, DWORD style, int x, int y, int width,
           int height, int id) {
    HWND child = CreateWindowExW(0, windowClass, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                                 parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
    if (child != nullptr)
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return child;
}

// The slider's frame, rounded down for times between frames.
int SliderFrame() {
    const TimeValue t = GetCOREInterface()->GetTime();
    const int ticks = GetTicksPerFrame();
    return t >= 0 ? t / ticks : -((-t + ticks - 1) / ticks);
}

} // namespace

TimeControls::~TimeControls() {
    if (frames != nullptr)
        ReleaseISpinner(frames);
}

bool TimeControls::Create(HWND editorWindow, int x, int y) {
    editor = editorWindow;
    HWND label = Child(editor, L"Static", L"Frame:", SS_LEFT, x, y + 2, 40, 16, -1);
    HWND edit = Child(editor, L"CustEdit", L"", WS_TABSTOP, x + 42, y, 48, 18, kFrameEditId);
    HWND spinner = Child(editor, L"SpinnerControl", L"", 0, x + 91, y, 10, 18, kFrameSpinnerId);
    animateBox =
        Child(editor, L"Button", L"Animate", WS_TABSTOP | BS_AUTOCHECKBOX, x, y + 24, 100, 20, kAnimateBoxId);
    if (label == nullptr || edit == nullptr || spinner == nullptr || animateBox == nullptr)
        return false;
    frames = GetISpinner(spinner);
    if (frames == nullptr)
        return false;
    frames->LinkToEdit(edit, EDITTYPE_INT);
    frames->SetScale(1.0f);
    const Interval range = GetCOREInterface()->GetAnimRange();
    frames->SetLimits(range.Start() / GetTicksPerFrame(), range.End() / GetTicksPerFrame(), FALSE);
    frames->SetValue(SliderFrame(), FALSE);
    SendMessageW(animateBox, BM_SETCHECK, IsAnimateOn() ? BST_CHECKED : BST_UNCHECKED, 0);
    return true;
}

bool TimeControls::SpinnerChanged(int control) {
    if (control != kFrameSpinnerId || frames == nullptr)
        return false;
    GetCOREInterface()->SetTime(FramesToTicks(frames->GetIVal()));
    return true;
}

bool TimeControls::Command(int control, int notification) {
    if (control != kAnimateBoxId || notification != BN_CLICKED)
        return false;
    if (SendMessageW(animateBox, BM_GETCHECK, 0, 0) == BST_CHECKED)
        AnimateOn();
    else
        AnimateOff();
    return true;
}

void TimeControls::GoToFrame(int frame) {
    if (frames != nullptr)
        frames->SetValue(frame, TRUE);
}

void TimeControls::SetAnimate(bool on) {
    if (animateBox != nullptr && (SendMessageW(animateBox, BM_GETCHECK, 0, 0) == BST_CHECKED) != on)
        SendMessageW(animateBox, BM_CLICK, 0, 0);
}

} // namespace host
