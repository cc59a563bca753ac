#include "host/edit/time_controls.h"

#include "host/edit/editor_control.h"

#include "hostsdk/anim_time.h"
#include "hostsdk/core_interface.h"

namespace host {
namespace {

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
    HWND label = CreateEditorControl(editor, L"Static", L"Frame:", SS_LEFT, x, y + 2, 40, 16, -1);
    HWND edit = CreateEditorControl(editor, L"CustEdit", L"", WS_TABSTOP, x + 42, y, 48, 18, kFrameEditId);
    HWND spinner = CreateEditorControl(editor, L"SpinnerControl", L"", 0, x + 91, y, 10, 18, kFrameSpinnerId);
    animateBox = CreateEditorControl(editor, L"Button", L"Animate", WS_TABSTOP | BS_AUTOCHECKBOX, x, y + 24,
                                     100, 20, kAnimateBoxId);
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
