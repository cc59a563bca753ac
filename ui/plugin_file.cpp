#include "ui/plugin_file.h"

#include "plugin/host_sdk.h"

#include <filesystem>
#include <fstream>

namespace {

#ifdef _WIN32
constexpr wchar_t kSeparator = L'\\';
#else
constexpr wchar_t kSeparator = L'/';
#endif

} // namespace

std::wstring PluginFileIn(const std::wstring& directory) {
    return directory + kSeparator + kPluginFileName;
}

std::optional<std::wstring> FindPluginFile() {
    const IPathConfigMgr* paths = IPathConfigMgr::GetPathConfigMgr();
    for (int i = 0; i < paths->GetPlugInEntryCount(); ++i) {
        std::wstring file = PluginFileIn(paths->GetPlugInDir(i));
        if (std::ifstream(std::filesystem::path(file), std::ios::binary).is_open())
            return file;
    }
    return std::nullopt;
}
