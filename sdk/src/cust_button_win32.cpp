// The CustButton window class: the system push button, which can also stay pressed (check type).
#include "custom_controls_internal.h"

namespace hostsdk_controls {
namespace {

WNDPROC systemButtonProc = nullptr;

class CustButton final : public ControlBase<ICustButton> {
public:
    explicit CustButton(HWND window) : ControlBase(window) {}

    void GetText(MSTR& text) override { text = WindowTextOf(window); }
    void SetText(const MCHAR* text) override { SetWindowTextW(window, text); }
    void SetType(CustButType type) override {
        // A check button is an automatic check box drawn as a push button.
        const LONG_PTR style =
            GetWindowLongPtrW(window, GWL_STYLE) & ~static_cast<LONG_PTR>(BS_TYPEMASK | BS_PUSHLIKE);
        const LONG_PTR kind = type == CBT_CHECK ? (BS_AUTOCHECKBOX | BS_PUSHLIKE) : BS_PUSHBUTTON;
        SendMessageW(window, BM_SETSTYLE, static_cast<WPARAM>(style | kind), TRUE);
    }
    BOOL IsChecked() override { return SendMessageW(window, BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void SetCheck(BOOL checked) override {
        SendMessageW(window, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
};

LRESULT CALLBACK CustButtonProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE)
        SetPropW(window, kControlProperty, static_cast<ICustomControl*>(new CustButton(window)));
    if (msg == WM_NCDESTROY) {
        delete dynamic_cast<CustButton*>(ControlOf(window));
        RemovePropW(window, kControlProperty);
    }
    return CallWindowProcW(systemButtonProc, window, msg, wParam, lParam);
}

} // namespace

bool RegisterCustButtonClass(HINSTANCE module) {
    return RegisterSuperclass(module, L"BUTTON", CUSTBUTTONWINDOWCLASS, CustButtonProc, systemButtonProc);
}

} // namespace hostsdk_controls
