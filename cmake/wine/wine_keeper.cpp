// wine_keeper.exe <idle seconds> <ready file>
//
// Keeps one Wine session alive for a test run. The first Wine process of a session boots Wine's system
// processes and its desktop, and they inherit that process's stdio; if a test booted them, CTest would wait
// for them to close the test's pipes. Started detached with its stdio on /dev/null, this program boots the
// session instead and holds the desktop with a message-only window, so every test joins a warm session.
//
// It writes <ready file> once the session is up and deletes it when it leaves. It leaves after <idle seconds>
// during which no process other than Wine's own ran, so an interrupted test run still ends its session.

#include <windows.h>

#include <tlhelp32.h>

#include <cstdio>
#include <cwchar>

namespace {

// Image names of the processes Wine starts for a session itself (and conhost, which a console program may
// leave behind for a moment); they never count as work in progress.
constexpr const wchar_t* kWineSessionProcesses[] = {
    L"services.exe", L"winedevice.exe", L"plugplay.exe", L"svchost.exe",
    L"rpcss.exe",    L"explorer.exe",   L"conhost.exe",  L"wineboot.exe",
};

bool IsWineSessionProcess(const wchar_t* exeName) {
    for (const wchar_t* name : kWineSessionProcesses) {
        if (lstrcmpiW(exeName, name) == 0) {
            return true;
        }
    }
    return false;
}

// True when any process besides this one and Wine's own is running, e.g. a test or a wine-run command.
bool OtherWorkRunning() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return true; // cannot tell, so stay
    }
    const DWORD self = GetCurrentProcessId();
    bool busy = false;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !busy;
         more = Process32NextW(snapshot, &entry)) {
        busy =
            entry.th32ProcessID != self && entry.th32ProcessID != 0 && !IsWineSessionProcess(entry.szExeFile);
    }
    CloseHandle(snapshot);
    return busy;
}

bool WriteReadyFile(const wchar_t* path) {
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    char text[32];
    const int length = std::snprintf(text, sizeof text, "%lu\n", GetCurrentProcessId());
    DWORD written = 0;
    const BOOL ok = WriteFile(file, text, static_cast<DWORD>(length), &written, nullptr);
    CloseHandle(file);
    return ok != FALSE;
}

LRESULT CALLBACK KeeperWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        return 2;
    }
    const long idleSeconds = std::wcstol(argv[1], nullptr, 10);
    const wchar_t* readyPath = argv[2];
    if (idleSeconds <= 0) {
        return 2;
    }

    // Any window connects the process to the desktop; a message-only one is never shown.
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = KeeperWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"WineSessionKeeper";
    if (RegisterClassW(&windowClass) == 0) {
        return 1;
    }
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  windowClass.hInstance, nullptr);
    if (window == nullptr || !WriteReadyFile(readyPath)) {
        return 1;
    }

    constexpr UINT kPollMilliseconds = 1000;
    SetTimer(window, 1, kPollMilliseconds, nullptr);
    ULONGLONG lastBusy = GetTickCount64();
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER) {
            const ULONGLONG now = GetTickCount64();
            if (OtherWorkRunning()) {
                lastBusy = now;
            } else if (now - lastBusy >= static_cast<ULONGLONG>(idleSeconds) * 1000) {
                break;
            }
        }
        DispatchMessageW(&message);
    }
    DeleteFileW(readyPath);
    DestroyWindow(window);
    return 0;
}
