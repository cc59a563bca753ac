#include "ui/version_text.h"

#include "ui/plugin_file.h"

#include <cstdio>

std::string FormatVersionText(std::uint32_t versionMS, std::uint32_t versionLS) {
    char text[64];
    std::snprintf(text, sizeof text, "Version: %d.%d.%d.%d", static_cast<int>(versionMS >> 16),
                  static_cast<int>(versionMS & 0xFFFF), static_cast<int>(versionLS >> 16),
                  static_cast<int>(versionLS & 0xFFFF));
    return text;
}

std::string FindPluginVersionText() {
    // The search ends at the first directory that has the file, whatever its version information.
    const std::optional<std::wstring> file = FindPluginFile();
    return file ? FileVersionText(*file) : kNoVersionText;
}
