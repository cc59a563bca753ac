#include "map/file_stamp.h"

#include <exception>
#include <string>
#include <system_error>

namespace {

// Wide names are UTF-32 where wchar_t has 32 bits, and paths convert those to the system's UTF-8.
std::filesystem::path PathOf(const std::wstring& fileName) {
    if constexpr (sizeof(wchar_t) == sizeof(char32_t))
        return std::filesystem::path(std::u32string(fileName.begin(), fileName.end()));
    else
        return std::filesystem::path(fileName);
}

} // namespace

std::optional<FileStamp> StampOf(const std::wstring& fileName) {
    if (fileName.empty())
        return std::nullopt;
    // A name that is no valid text cannot be converted to a path: then there is no stamp either.
    try {
        const std::filesystem::path file = PathOf(fileName);
        std::error_code error;
        if (!std::filesystem::is_regular_file(file, error))
            return std::nullopt;
        FileStamp stamp;
        stamp.size = std::filesystem::file_size(file, error);
        if (error)
            return std::nullopt;
        stamp.written = std::filesystem::last_write_time(file, error);
        if (error)
            return std::nullopt;
        return stamp;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}
