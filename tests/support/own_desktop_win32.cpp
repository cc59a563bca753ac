// Every Windows test program opens its windows on a desktop of its own, before it makes any: programs that
// CTest runs side by side would otherwise cover each other's windows, and what a window shows could not be
// read back from it.
#include <windows.h>

#include <string>

namespace {

const bool ownDesktop = [] {
    const std::wstring name = L"chromasift-tests-" + std::to_wstring(GetCurrentProcessId());
    HDESK desktop = CreateDesktopW(name.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    return desktop != nullptr && SetThreadDesktop(desktop) != FALSE;
}();

} // namespace
