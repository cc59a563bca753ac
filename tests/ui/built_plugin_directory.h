#pragma once

// The plug-in directory of the build, as the host tool beside the tests adds it: plugins/ beside the test
// program on Windows, the build's own folder elsewhere.
#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#endif

inline std::filesystem::path BuiltPluginDirectory() {
#ifdef _WIN32
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    return std::filesystem::path(program).parent_path() / "plugins";
#else
    return std::filesystem::path(CHROMASIFT_PLUGIN_DIR);
#endif
}
