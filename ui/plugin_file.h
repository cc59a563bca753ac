#pragma once

// The installed plug-in file, as the About rollout looks for it in the host's plug-in directories.
#include <optional>
#include <string>

// The plug-in file the About rollout looks for.
inline constexpr const wchar_t* kPluginFileName = L"kr_tintworks.dlt";

// The file's path in one plug-in directory: the directory entry as written, the separator, then the file
// name. No path arithmetic, so on Windows "C:" names the drive's root and an empty entry the current
// drive's root, as the host's own lookups do.
std::wstring PluginFileIn(const std::wstring& directory);

// The plug-in file in the first of the host's plug-in directories where it opens for reading; none when no
// directory has it.
std::optional<std::wstring> FindPluginFile();
