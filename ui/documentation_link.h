#pragma once

// The About rollout's link to the maker's online reference guide.
#include "plugin/host_sdk.h"

#include <functional>

// The maker's online reference guide for the product family.
inline constexpr const wchar_t* kDocumentationAddress = L"https://www.kestrim.com/docs/tintworks/";

// The window system's show state for a newly opened, normally sized window (SW_SHOWNORMAL).
inline constexpr int kShowNormal = 1;

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
