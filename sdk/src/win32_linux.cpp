#include "hostsdk/win32_linux.h"

#include "hostsdk/utf8.h"

#include <algorithm>
#include <cerrno> // program_invocation_short_name
#include <cstdio>
#include <map>
#include <mutex>

namespace {

struct ModuleTable {
    const ModuleString* strings;
    std::size_t count;
};

// Both live until the process ends: modules unregister their strings from their own clean-up, which may
// run after this library's static objects are gone.
std::mutex& ResourceLock() {
    static auto* lock = new std::mutex;
    return *lock;
}

std::map<HINSTANCE, ModuleTable>& Modules() {
    static auto* modules = new std::map<HINSTANCE, ModuleTable>;
    return *modules;
}

std::vector<RecordedMessageBox>& MessageBoxes() {
    static std::vector<RecordedMessageBox> boxes;
    return boxes;
}

} // namespace

void RegisterModuleStrings(HINSTANCE module, const ModuleString* strings, std::size_t count) {
    std::lock_guard<std::mutex> guard(ResourceLock());
    Modules()[module] = ModuleTable{strings, count};
}

void UnregisterModuleStrings(HINSTANCE module) {
    std::lock_guard<std::mutex> guard(ResourceLock());
    Modules().erase(module);
}

int LoadStringW(HINSTANCE module, UINT id, LPWSTR buffer, int capacity) {
    if (buffer == nullptr || capacity <= 0)
        return 0;
    buffer[0] = 0;
    std::lock_guard<std::mutex> guard(ResourceLock());
    const auto found = Modules().find(module);
    if (found == Modules().end())
        return 0;
    const ModuleTable& table = found->second;
    for (std::size_t i = 0; i < table.count; ++i) {
        if (table.strings[i].id != id)
            continue;
        const std::wstring_view text(table.strings[i].text);
        const std::size_t length = std::min(text.size(), static_cast<std::size_t>(capacity - 1));
        std::copy_n(text.begin(), length, buffer);
        buffer[length] = 0;
        return static_cast<int>(length);
    }
    return 0;
}

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    RecordedMessageBox box{owner, text == nullptr ? L"" : text, caption == nullptr ? L"" : caption, type};
    // As the program's own messages read: "chromasift: Error: Error loading bitmap.".
    std::fprintf(stderr, "%s: %s: %s\n", program_invocation_short_name,
                 hostsdk::Utf8FromWide(box.caption).c_str(), hostsdk::Utf8FromWide(box.text).c_str());
    MessageBoxes().push_back(std::move(box));
    return IDOK;
}

std::vector<RecordedMessageBox> RecordedMessageBoxes() {
    return MessageBoxes();
}

void ClearRecordedMessageBoxes() {
    MessageBoxes().clear();
}

int _wcsicmp(const wchar_t* a, const wchar_t* b) {
    const auto fold = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c; };
    for (;; ++a, ++b) {
        const wchar_t ca = fold(*a);
        const wchar_t cb = fold(*b);
        if (ca != cb || ca == 0)
            return ca < cb ? -1 : (ca > cb ? 1 : 0);
    }
}
