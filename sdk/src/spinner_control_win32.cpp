// The SpinnerControl window class: two arrow halves that step the value on a click (repeating while held)
// and change it by one step per pixel while the mouse is dragged up or down.
#include "custom_controls_internal.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <cwctype>

namespace hostsdk_controls {
namespace {

constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kRepeatDelayMs = 400;
constexpr UINT kRepeatIntervalMs = 50;
// Pixels the mouse must move before a press becomes a drag, so that a shaky click still steps once.
constexpr int kDragThreshold = 3;

enum class Half { None, Up, Down };

class Spinner final : public ControlBase<ISpinnerControl> {
public:
    explicit Spinner(HWND window) : ControlBase(window) {}

    float GetFVal() override { return static_cast<float>(value); }
    int GetIVal() override { return static_cast<int>(std::lround(value)); }
    void SetScale(float step) override { scale = step; }
    void SetValue(float v, int notify) override { SetAndNotify(v, notify); }
    void SetValue(int v, int notify) override { SetAndNotify(v, notify); }
    void SetLimits(int lo, int hi, int limitCurValue) override { Limits(lo, hi, limitCurValue); }
    void SetLimits(float lo, float hi, int limitCurValue) override { Limits(lo, hi, limitCurValue); }
    void LinkToEdit(HWND edit, EditSpinnerType type) override;
    void SetResetValue(float v) override { resetValue = v; }
    void SetResetValue(int v) override { resetValue = v; }

    bool TakeTypedText(const std::wstring& text);
    LRESULT Handle(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    bool IsInteger() const { return editType == EDITTYPE_INT || editType == EDITTYPE_POS_INT; }
    double Clamped(double v) const;
    // Stores the value (clamped, rounded to the edit type) and shows it; true when it changed.
    bool Assign(double v);
    void SetAndNotify(double v, int notify) {
        Assign(v);
        if (notify)
            Notify(CC_SPINNER_CHANGE, FALSE);
    }
    void Limits(double lo, double hi, int limitCurValue);
    void ShowInEdit();
    void Notify(UINT msg, BOOL flag);
    void Step(int direction, BOOL held);
    void Press(int y);
    void Drag(int y);
    void Release(bool accepted);
    void Paint();

    double value = 0.0;
    double minimum = 0.0;
    double maximum = 100.0;
    double scale = 1.0;
    double resetValue = 0.0;
    EditSpinnerType editType = EDITTYPE_FLOAT;
    HWND edit = nullptr;

    // The press in progress.
    Half pressed = Half::None;
    int pressY = 0;
    double pressValue = 0.0;
    bool dragging = false;
    bool repeated = false;
    bool releasing = false;
};

double Spinner::Clamped(double v) const {
    if (IsInteger())
        v = std::round(v);
    else
        v = static_cast<float>(v);
    if (v < minimum)
        v = minimum;
    if (v > maximum)
        v = maximum;
    return v;
}

bool Spinner::Assign(double v) {
    const double next = Clamped(v);
    const bool changed = next != value;
    value = next;
    ShowInEdit();
    return changed;
}

void Spinner::Limits(double lo, double hi, int limitCurValue) {
    if (lo > hi)
        std::swap(lo, hi);
    minimum = lo;
    maximum = hi;
    if (editType == EDITTYPE_POS_INT || editType == EDITTYPE_POS_FLOAT)
        minimum = std::max(minimum, 0.0);
    if (limitCurValue)
        Assign(value);
}

void Spinner::LinkToEdit(HWND newEdit, EditSpinnerType type) {
    if (edit != nullptr && edit != newEdit)
        LinkEditToSpinner(edit, nullptr);
    edit = newEdit;
    editType = type;
    if (edit != nullptr)
        LinkEditToSpinner(edit, window);
    Limits(minimum, maximum, TRUE);
}

void Spinner::ShowInEdit() {
    if (edit == nullptr || !IsWindow(edit))
        return;
    wchar_t text[64];
    if (IsInteger()) {
        std::swprintf(text, 64, L"%d", GetIVal());
    } else {
        // Three decimals at most, trailing zeros dropped but one kept: "1.0", "0.1", "0.125".
        std::swprintf(text, 64, L"%.3f", value);
        std::size_t length = std::wcslen(text);
        while (length > 2 && text[length - 1] == L'0' && text[length - 2] != L'.')
            text[--length] = 0;
    }
    wchar_t shown[64] = {};
    GetWindowTextW(edit, shown, 64);
    if (std::wcscmp(shown, text) != 0)
        SetWindowTextW(edit, text);
}

bool Spinner::TakeTypedText(const std::wstring& text) {
    wchar_t* end = nullptr;
    const double typed = std::wcstod(text.c_str(), &end);
    while (end != nullptr && *end != 0 && std::iswspace(*end))
        ++end;
    if (end == text.c_str() || end == nullptr || *end != 0 || !std::isfinite(typed)) {
        ShowInEdit(); // not a number: the field shows the value again
        return true;
    }
    if (Assign(typed))
        Notify(CC_SPINNER_CHANGE, FALSE);
    return true;
}

void Spinner::Notify(UINT msg, BOOL flag) {
    const HWND parent = GetParent(window);
    if (parent != nullptr)
        SendMessageW(parent, msg, MAKEWPARAM(GetDlgCtrlID(window), flag),
                     reinterpret_cast<LPARAM>(static_cast<ISpinnerControl*>(this)));
}

void Spinner::Step(int direction, BOOL held) {
    if (Assign(value + direction * scale))
        Notify(CC_SPINNER_CHANGE, held);
}

void Spinner::Press(int y) {
    RECT client;
    GetClientRect(window, &client);
    pressed = y < (client.bottom - client.top) / 2 ? Half::Up : Half::Down;
    pressY = y;
    pressValue = value;
    dragging = false;
    repeated = false;
    SetCapture(window);
    SetTimer(window, kRepeatTimer, kRepeatDelayMs, nullptr);
    InvalidateRect(window, nullptr, FALSE);
    Notify(CC_SPINNER_BUTTONDOWN, FALSE);
}

void Spinner::Drag(int y) {
    const int pixels = pressY - y; // upwards increases
    if (!dragging && std::abs(pixels) < kDragThreshold)
        return;
    if (!dragging) {
        dragging = true;
        KillTimer(window, kRepeatTimer);
    }
    if (Assign(pressValue + pixels * scale))
        Notify(CC_SPINNER_CHANGE, TRUE);
}

void Spinner::Release(bool accepted) {
    if (pressed == Half::None)
        return;
    KillTimer(window, kRepeatTimer);
    const Half half = pressed;
    pressed = Half::None;
    if (!accepted) {
        if (Assign(pressValue))
            Notify(CC_SPINNER_CHANGE, FALSE);
    } else if (!dragging && !repeated) {
        Step(half == Half::Up ? 1 : -1, FALSE);
    }
    releasing = true;
    if (GetCapture() == window)
        ReleaseCapture();
    releasing = false;
    InvalidateRect(window, nullptr, FALSE);
    Notify(CC_SPINNER_BUTTONUP, accepted ? TRUE : FALSE);
}

void Spinner::Paint() {
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    RECT up = client;
    up.bottom = (client.top + client.bottom) / 2;
    RECT down = client;
    down.top = up.bottom;
    const UINT disabled = IsWindowEnabled(window) ? 0 : DFCS_INACTIVE;
    DrawFrameControl(dc, &up, DFC_SCROLL, DFCS_SCROLLUP | disabled | (pressed == Half::Up ? DFCS_PUSHED : 0));
    DrawFrameControl(dc, &down, DFC_SCROLL,
                     DFCS_SCROLLDOWN | disabled | (pressed == Half::Down ? DFCS_PUSHED : 0));
    EndPaint(window, &ps);
}

LRESULT Spinner::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT:
        Paint();
        return 0;
    case WM_LBUTTONDOWN:
        if (IsWindowEnabled(window) && pressed == Half::None)
            Press(GET_Y_LPARAM(lParam));
        return 0;
    case WM_MOUSEMOVE:
        if (pressed != Half::None)
            Drag(GET_Y_LPARAM(lParam));
        return 0;
    case WM_LBUTTONUP:
        Release(true);
        return 0;
    case WM_RBUTTONDOWN:
        // During a press the right button cancels it; on the idle spinner it restores the reset value.
        if (pressed != Half::None)
            Release(false);
        else if (IsWindowEnabled(window) && Assign(resetValue))
            Notify(CC_SPINNER_CHANGE, FALSE);
        return 0;
    case WM_CAPTURECHANGED:
        if (!releasing)
            Release(true);
        return 0;
    case WM_TIMER:
        if (wParam == kRepeatTimer && pressed != Half::None && !dragging) {
            if (!repeated)
                SetTimer(window, kRepeatTimer, kRepeatIntervalMs, nullptr);
            repeated = true;
            Step(pressed == Half::Up ? 1 : -1, TRUE);
        }
        return 0;
    case WM_ENABLE:
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    default:
        return DefWindowProcW(window, msg, wParam, lParam);
    }
}

LRESULT CALLBACK SpinnerProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE)
        SetPropW(window, kControlProperty, static_cast<ICustomControl*>(new Spinner(window)));
    auto* spinner = dynamic_cast<Spinner*>(ControlOf(window));
    if (spinner == nullptr)
        return DefWindowProcW(window, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        RemovePropW(window, kControlProperty);
        delete spinner;
        return DefWindowProcW(window, msg, wParam, lParam);
    }
    return spinner->Handle(msg, wParam, lParam);
}

} // namespace

bool RegisterSpinnerClass(HINSTANCE module) {
    return RegisterOwnClass(module, SPINNERWINDOWCLASS, SpinnerProc, IDC_SIZENS, COLOR_BTNFACE, 0);
}

bool SpinnerTakeTypedText(HWND spinner, const std::wstring& text) {
    auto* control = dynamic_cast<Spinner*>(ControlOf(spinner));
    return control != nullptr && control->TakeTypedText(text);
}

} // namespace hostsdk_controls
