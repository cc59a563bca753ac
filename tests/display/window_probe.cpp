// window_probe.exe TITLE
//
// Prints where the windows of a running program are on the screen, so that a display test can aim real
// mouse events at them: the first visible top-level window whose title contains TITLE (its client area),
// then each of its descendant windows, one a line:
//   <depth> <control id> <class> <left> <top> <right> <bottom> <visible 0|1> <text>
// Screen coordinates under Wine's X11 driver are the X root window's. Exit status 1 when no window matches.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

struct Search {
    std::wstring title;
    HWND found = nullptr;
};

std::string Utf8(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, bytes.data(), size, nullptr, nullptr);
    bytes.resize(bytes.size() - 1);
    for (char& c : bytes)
        if (c == '\n' || c == '\r')
            c = ' ';
    return bytes;
}

std::wstring Text(HWND window) {
    wchar_t text[512] = {};
    // The text the window manager keeps needs no answer from the window's program; controls that keep
    // their text themselves are asked, briefly: a program busy for a moment answers nothing, and the test
    // asks again.
    if (InternalGetWindowText(window, text, 512) > 0)
        return text;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 100,
                             nullptr))
        return L"<busy>";
    return text;
}

BOOL CALLBACK FindTopLevel(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    if (IsWindowVisible(window) && Text(window).find(search->title) != std::wstring::npos) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

void Print(HWND window, int depth) {
    wchar_t className[128] = {};
    GetClassNameW(window, className, 128);
    RECT rect{};
    GetWindowRect(window, &rect);
    if (depth == 0) {
        // The top-level window's client area: its menu bar lies right above.
        GetClientRect(window, &rect);
        MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    }
    std::printf("%d %d %s %ld %ld %ld %ld %d %s\n", depth, GetDlgCtrlID(window), Utf8(className).c_str(),
                rect.left, rect.top, rect.right, rect.bottom, IsWindowVisible(window) ? 1 : 0,
                Utf8(Text(window)).c_str());
}

void PrintChildren(HWND parent, int depth) {
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        Print(child, depth);
        PrintChildren(child, depth + 1);
    }
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: window_probe TITLE\n");
        return 2;
    }
    Search search{argv[1]};
    EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&search));
    if (search.found == nullptr)
        return 1;
    Print(search.found, 0);
    PrintChildren(search.found, 1);
    return 0;
}
