// The CustEdit window class: the system edit control, plus committing a typed value on Enter or when the
// field loses the focus.
#include "custom_controls_internal.h"

#include <cstdio>
#include <cwchar>
#include <cwctype>

namespace hostsdk_controls {
namespace {

WNDPROC systemEditProc = nullptr;

class CustEdit final : public ControlBase<ICustEdit> {
public:
    explicit CustEdit(HWND window) : ControlBase(window) {}

    void GetText(MCHAR* buffer, int capacity) override { GetWindowTextW(window, buffer, capacity); }
    void GetText(MSTR& text) override { text = WindowTextOf(window); }
    void SetText(const MCHAR* text) override { SetWindowTextW(window, text); }
    void SetText(int value) override { SetText(std::to_wstring(value).c_str()); }
    void SetText(float value, int precision) override {
        wchar_t text[64];
        std::swprintf(text, 64, L"%.*f", precision, static_cast<double>(value));
        SetText(text);
    }
    int GetInt(BOOL* valid) override { return static_cast<int>(Parse(valid)); }
    float GetFloat(BOOL* valid) override { return static_cast<float>(Parse(valid)); }
    void WantReturn(BOOL yes) override { wantReturn = yes != 0; }
    BOOL GotReturn() override {
        const bool got = gotReturn;
        gotReturn = false;
        return got ? TRUE : FALSE;
    }

    HWND spinner = nullptr;

    // Hands the typed text to the linked spinner.
    void Commit() {
        if (spinner == nullptr || !IsWindow(spinner))
            return;
        MSTR text;
        GetText(text);
        SpinnerTakeTypedText(spinner, text);
    }
    void Return() {
        Commit();
        gotReturn = true;
        const HWND parent = GetParent(window);
        if (wantReturn && parent != nullptr)
            SendMessageW(parent, WM_CUSTEDIT_ENTER, static_cast<WPARAM>(GetDlgCtrlID(window)),
                         reinterpret_cast<LPARAM>(window));
    }

private:
    double Parse(BOOL* valid) {
        MSTR text;
        GetText(text);
        wchar_t* end = nullptr;
        const double number = std::wcstod(text.c_str(), &end);
        while (end != nullptr && *end != 0 && std::iswspace(*end))
            ++end;
        if (valid != nullptr)
            *valid = end != text.c_str() && end != nullptr && *end == 0;
        return number;
    }

    bool wantReturn = false;
    bool gotReturn = false;
};

LRESULT CALLBACK CustEditProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE)
        SetPropW(window, kControlProperty, static_cast<ICustomControl*>(new CustEdit(window)));
    auto* edit = dynamic_cast<CustEdit*>(ControlOf(window));
    if (edit != nullptr) {
        switch (msg) {
        case WM_GETDLGCODE: {
            // Enter belongs to the field (it commits), not to the dialog's default button.
            const auto* keyMsg = reinterpret_cast<const MSG*>(lParam);
            LRESULT code = CallWindowProcW(systemEditProc, window, msg, wParam, lParam);
            if (keyMsg != nullptr && keyMsg->message == WM_KEYDOWN && keyMsg->wParam == VK_RETURN)
                code |= DLGC_WANTMESSAGE;
            return code;
        }
        case WM_KEYDOWN:
            if (wParam == VK_RETURN) {
                edit->Return();
                return 0;
            }
            break;
        case WM_CHAR:
            if (wParam == L'\r' || wParam == L'\n')
                return 0; // the single-line edit would beep
            break;
        case WM_KILLFOCUS:
            edit->Commit();
            break;
        case WM_NCDESTROY: {
            RemovePropW(window, kControlProperty);
            delete edit;
            return CallWindowProcW(systemEditProc, window, msg, wParam, lParam);
        }
        default:
            break;
        }
    }
    return CallWindowProcW(systemEditProc, window, msg, wParam, lParam);
}

} // namespace

bool RegisterCustEditClass(HINSTANCE module) {
    return RegisterSuperclass(module, L"EDIT", CUSTEDITWINDOWCLASS, CustEditProc, systemEditProc);
}

void LinkEditToSpinner(HWND window, HWND spinner) {
    if (auto* edit = dynamic_cast<CustEdit*>(ControlOf(window)))
        edit->spinner = spinner;
}

} // namespace hostsdk_controls
