#pragma once

// The About rollout's version label: the version of the installed plug-in file.
#include <cstdint>
#include <string>

// The label when no plug-in directory holds the file, or the file has no readable version information.
inline constexpr const char* kNoVersionText = "No version";
// "Version: a.b.c.d" from a fixed file version's most and least significant double words.
std::string FormatVersionText(std::uint32_t versionMS, std::uint32_t versionLS);

// The version text of the file's own version resource, or kNoVersionText when it has none (the Linux
// build's modules never do).
std::string FileVersionText(const std::wstring& path);

// The version text of the plug-in file in the first of the host's plug-in directories that holds one;
// kNoVersionText when none does.
std::string FindPluginVersionText();
