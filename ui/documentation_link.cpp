#include "ui/documentation_link.h"

#include "plugin/documentation.h"
#include "ui/plugin_file.h"

#include <algorithm>
#include <cwctype>
#include <filesystem>

namespace {

// "https:", "file:", "mailto:" and the like; a single letter before the colon is a drive.
bool HasScheme(const std::wstring& address) {
    const std::size_t colon = address.find(L':');
    return colon != std::wstring::npos && colon > 1 &&
           std::all_of(address.begin(), address.begin() + static_cast<std::ptrdiff_t>(colon),
                       [](wchar_t c) { return std::iswalnum(c) || c == L'+' || c == L'-' || c == L'.'; });
}

bool IsAbsolute(const std::wstring& address) {
    const bool drive = address.size() >= 2 && address[1] == L':' && std::iswalpha(address[0]);
    return drive || (!address.empty() && (address[0] == L'/' || address[0] == L'\\'));
}

} // namespace

const wchar_t* BuiltDocumentationAddress() {
    return CHROMASIFT_DOCUMENTATION_ADDRESS;
}

std::wstring ResolveDocumentationAddress(const std::wstring& address,
                                         const std::optional<std::wstring>& pluginFile) {
    if (!pluginFile || address.empty() || HasScheme(address) || IsAbsolute(address))
        return address;
    std::filesystem::path guide = std::filesystem::path(*pluginFile).parent_path() / address;
    return guide.lexically_normal().make_preferred().wstring();
}

std::wstring DocumentationAddress() {
    return ResolveDocumentationAddress(BuiltDocumentationAddress(), FindPluginFile());
}

ShellOpenFunction& DocumentationShell() {
    static ShellOpenFunction shell = SystemShellOpen;
    return shell;
}

void OpenDocumentation(HWND owner) {
    if (const ShellOpenFunction& shell = DocumentationShell())
        shell(owner, L"open", DocumentationAddress().c_str(), nullptr, nullptr, kShowNormal);
}
