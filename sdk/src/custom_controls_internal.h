#pragma once

// What the custom control implementations share (Windows build).
#include "hostsdk/custom_controls.h"

#include <string>

namespace hostsdk_controls {

// The SDK library's module, under which the control classes are registered.
HINSTANCE SdkModule();

// Each control keeps its interface object in this window property, created at WM_NCCREATE and deleted
// at WM_NCDESTROY.
constexpr const wchar_t* kControlProperty = L"hostsdk.CustomControl";
ICustomControl* ControlOf(HWND window);

// The shared part of every control's interface: the window it belongs to.
template <class Interface> class ControlBase : public Interface {
public:
    explicit ControlBase(HWND window) : window(window) {}
    HWND GetHwnd() override { return window; }
    void Enable(BOOL onOff = TRUE) override { EnableWindow(window, onOff); }
    void Disable() override { EnableWindow(window, FALSE); }
    BOOL IsEnabled() override { return IsWindowEnabled(window); }

protected:
    HWND window;
};

MSTR WindowTextOf(HWND window);

// Registers a global class of the SDK's own, keeping `extraBytes` per window.
bool RegisterOwnClass(HINSTANCE module, const wchar_t* name, WNDPROC proc, LPCWSTR cursor, int background,
                      int extraBytes);
// Registers `name` as a global class that is the system class `base` except for what `proc` handles; `proc`
// passes everything else on to `baseProc`, the system class's procedure.
bool RegisterSuperclass(HINSTANCE module, const wchar_t* base, const wchar_t* name, WNDPROC proc,
                        WNDPROC& baseProc);

bool RegisterSpinnerClass(HINSTANCE module);
bool RegisterCustEditClass(HINSTANCE module);
bool RegisterCustButtonClass(HINSTANCE module);
bool RegisterRollupClass(HINSTANCE module);

// A spinner takes over the text typed into its linked edit; false when `spinner` is no spinner.
bool SpinnerTakeTypedText(HWND spinner, const std::wstring& text);
// Tells a CustEdit which spinner its typed values go to (null: none).
void LinkEditToSpinner(HWND edit, HWND spinner);

} // namespace hostsdk_controls
