#include "hostsdk/custom_controls.h"

#include "custom_controls_internal.h"

namespace hostsdk_controls {

HINSTANCE SdkModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&SdkModule), &module);
    return module;
}

ICustomControl* ControlOf(HWND window) {
    return window == nullptr ? nullptr : static_cast<ICustomControl*>(GetPropW(window, kControlProperty));
}

MSTR WindowTextOf(HWND window) {
    MSTR text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool RegisterOwnClass(HINSTANCE module, const wchar_t* name, WNDPROC proc, LPCWSTR cursor, int background,
                      int extraBytes) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_GLOBALCLASS | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = proc;
    wc.cbWndExtra = extraBytes;
    wc.hInstance = module;
    wc.hCursor = LoadCursorW(nullptr, cursor);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(background + 1));
    wc.lpszClassName = name;
    return RegisterClassExW(&wc) != 0;
}

bool RegisterSuperclass(HINSTANCE module, const wchar_t* base, const wchar_t* name, WNDPROC proc,
                        WNDPROC& baseProc) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (!GetClassInfoExW(nullptr, base, &wc))
        return false;
    baseProc = wc.lpfnWndProc;
    wc.style |= CS_GLOBALCLASS;
    wc.lpfnWndProc = proc;
    wc.hInstance = module;
    wc.lpszClassName = name;
    return RegisterClassExW(&wc) != 0;
}

} // namespace hostsdk_controls

using namespace hostsdk_controls;

namespace {

bool IsRegistered(const wchar_t* name, HINSTANCE module) {
    WNDCLASSEXW info{};
    info.cbSize = sizeof(info);
    return GetClassInfoExW(module, name, &info) != 0;
}

} // namespace

ICustomControl::~ICustomControl() = default;

BOOL InitCustomControls() {
    const HINSTANCE module = SdkModule();
    struct Entry {
        const wchar_t* name;
        bool (*reg)(HINSTANCE);
    };
    const Entry entries[] = {{SPINNERWINDOWCLASS, RegisterSpinnerClass},
                             {CUSTEDITWINDOWCLASS, RegisterCustEditClass},
                             {CUSTBUTTONWINDOWCLASS, RegisterCustButtonClass},
                             {ROLLUPWINDOWCLASS, RegisterRollupClass}};
    bool all = true;
    for (const Entry& entry : entries)
        if (!IsRegistered(entry.name, module) && !entry.reg(module))
            all = false;
    return all ? TRUE : FALSE;
}

void UnregisterCustomControls() {
    const HINSTANCE module = SdkModule();
    for (const wchar_t* name :
         {SPINNERWINDOWCLASS, CUSTEDITWINDOWCLASS, CUSTBUTTONWINDOWCLASS, ROLLUPWINDOWCLASS})
        UnregisterClassW(name, module);
}

ISpinnerControl* GetISpinner(HWND window) {
    return dynamic_cast<ISpinnerControl*>(ControlOf(window));
}

void ReleaseISpinner(ISpinnerControl*) {}

ICustEdit* GetICustEdit(HWND window) {
    return dynamic_cast<ICustEdit*>(ControlOf(window));
}

void ReleaseICustEdit(ICustEdit*) {}

ICustButton* GetICustButton(HWND window) {
    return dynamic_cast<ICustButton*>(ControlOf(window));
}

void ReleaseICustButton(ICustButton*) {}
