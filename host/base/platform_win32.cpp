#include "host/base/platform.h"

#include "host/base/text.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>

namespace host {

std::filesystem::path ExecutableFile() {
    wchar_t buffer[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(std::size(buffer)));
    return std::filesystem::path(std::wstring(buffer, length));
}

std::filesystem::path ExecutableDirectory() {
    return ExecutableFile().parent_path();
}

ModuleHandle* OpenModule(const std::filesystem::path& file, std::string& error) {
    HMODULE module = LoadLibraryW(file.wstring().c_str());
    if (module == nullptr)
        error = LastSystemErrorText();
    return reinterpret_cast<ModuleHandle*>(module);
}

void* FindExport(ModuleHandle* module, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(module), name));
}

void CloseModule(ModuleHandle* module) {
    if (module != nullptr)
        FreeLibrary(reinterpret_cast<HMODULE>(module));
}

std::string LastSystemErrorText() {
    const DWORD code = GetLastError();
    wchar_t* text = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message = text == nullptr ? "error " + std::to_string(code) : ToUtf8(text);
    if (text != nullptr)
        LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
        message.pop_back();
    return message;
}

} // namespace host

namespace host {

bool StdoutSupportsColour() {
    HANDLE console = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (console == INVALID_HANDLE_VALUE || !GetConsoleMode(console, &mode) ||
        std::getenv("NO_COLOR") != nullptr)
        return false;
    return SetConsoleMode(console, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

void WriteStdoutAsBytes() {
    std::fflush(stdout);
    _setmode(_fileno(stdout), _O_BINARY);
}

} // namespace host
