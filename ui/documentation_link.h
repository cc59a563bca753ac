#pragma once

// The About rollout's link to the user guide.
#include "plugin/host_sdk.h"

#include <functional>
#include <optional>
#include <string>

// The window system's show state for a newly opened, normally sized window (SW_SHOWNORMAL).
inline constexpr int kShowNormal = 1;

// The address as the build sets it: a web address, an absolute path, or a path relative to the folder of
// the installed plug-in file (by default the user guide installed beside the plug-in folder).
const wchar_t* BuiltDocumentationAddress();

// `address` made openable: a relative path is taken from the folder of `pluginFile` (and stays as it is
// when no plug-in file is known); web addresses and absolute paths are returned unchanged.
std::wstring ResolveDocumentationAddress(const std::wstring& address,
                                         const std::optional<std::wstring>& pluginFile);

// The address the link opens: the built address, resolved against the plug-in file the host's plug-in
// directories hold.
std::wstring DocumentationAddress();

// The shell's "perform this verb on this document" call, with the owner window, verb, file, parameters,
// working directory and show state. Replaceable, so that tests see the request and no browser starts.
using ShellOpenFunction = std::function<void(HWND owner, const wchar_t* verb, const wchar_t* file,
                                             const wchar_t* parameters, const wchar_t* directory, int show)>;
ShellOpenFunction& DocumentationShell();

// The system's shell call: the Windows shell, nothing in the Linux build.
void SystemShellOpen(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                     const wchar_t* directory, int show);

// Opens the documentation address in the user's browser, owned by `owner`; failures are not reported.
void OpenDocumentation(HWND owner);
