#include "ui/version_text.h"

#include "plugin/host_sdk.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

std::string FormatVersionText(std::uint32_t versionMS, std::uint32_t versionLS) {
    char text[64];
    std::snprintf(text, sizeof text, "Version: %d.%d.%d.%d", static_cast<int>(versionMS >> 16),
                  static_cast<int>(versionMS & 0xFFFF), static_cast<int>(versionLS >> 16),
                  static_cast<int>(versionLS & 0xFFFF));
    return text;
}

std::string FindPluginVersionText() {
    const IPathConfigMgr* paths = IPathConfigMgr::GetPathConfigMgr();
    for (int i = 0; i < paths->GetPlugInEntryCount(); ++i) {
        const std::filesystem::path file = std::filesystem::path(paths->GetPlugInDir(i)) / kPluginFileName;
        // The search ends at the first directory that has the file, whatever its version information.
        if (std::ifstream(file, std::ios::binary).is_open())
            return FileVersionText(file.wstring());
    }
    return kNoVersionText;
}
