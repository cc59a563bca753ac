#include "ui/documentation_link.h"

#include <shellapi.h>

static_assert(kShowNormal == SW_SHOWNORMAL);

void SystemShellOpen(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                     const wchar_t* directory, int show) {
    // The shell's answer is not examined: a browser that cannot start is not reported.
    ShellExecuteW(owner, verb, file, parameters, directory, show);
}
