#include "host/base/platform.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>
#include <vector>

namespace host {

std::filesystem::path ExecutableFile() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : self;
}

std::filesystem::path ExecutableDirectory() {
    const std::filesystem::path self = ExecutableFile();
    return self.empty() ? std::filesystem::current_path() : self.parent_path();
}

ModuleHandle* OpenModule(const std::filesystem::path& file, std::string& error) {
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* message = dlerror();
        error = message == nullptr ? "unknown error" : message;
    }
    return static_cast<ModuleHandle*>(handle);
}

void* FindExport(ModuleHandle* module, const char* name) {
    return dlsym(module, name);
}

void CloseModule(ModuleHandle* module) {
    if (module != nullptr)
        dlclose(module);
}

std::string LastSystemErrorText() {
    return std::error_code(errno, std::generic_category()).message();
}

} // namespace host

namespace host {

bool StdoutSupportsColour() {
    const char* term = std::getenv("TERM");
    return isatty(STDOUT_FILENO) != 0 && std::getenv("NO_COLOR") == nullptr && term != nullptr &&
           std::string(term) != "dumb";
}

void WriteStdoutAsBytes() {}

} // namespace host
