#include "hostsdk/core_interface.h"

#include <algorithm>

Interface::~Interface() = default;

void Interface::RegisterDlgWnd(HWND window) {
    if (std::find(dialogs.begin(), dialogs.end(), window) == dialogs.end())
        dialogs.push_back(window);
}

int Interface::UnRegisterDlgWnd(HWND window) {
    const auto found = std::find(dialogs.begin(), dialogs.end(), window);
    if (found == dialogs.end())
        return 0;
    dialogs.erase(found);
    return 1;
}

namespace {

// Built before any code runs, so that shading's call for the time on every sample finds it without a
// guard.
constinit IObjParam core;

} // namespace

Interface* GetCOREInterface() {
    return &core;
}
