#include "ui/version_text.h"

#include <windows.h>

#include <vector>

std::string FileVersionText(const std::wstring& path) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    if (size == 0)
        return kNoVersionText;
    std::vector<BYTE> info(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, info.data()))
        return kNoVersionText;
    void* block = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(info.data(), L"\\", &block, &length) || block == nullptr ||
        length < sizeof(VS_FIXEDFILEINFO))
        return kNoVersionText;
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(block);
    return FormatVersionText(fixed->dwFileVersionMS, fixed->dwFileVersionLS);
}
