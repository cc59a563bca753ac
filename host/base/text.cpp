#include "host/base/text.h"

#include "hostsdk/utf8.h"

namespace host {

std::string ToUtf8(const std::wstring& text) {
    return hostsdk::Utf8FromWide(text);
}

std::wstring FromUtf8(const std::string& text) {
    return hostsdk::WideFromUtf8(text);
}

std::filesystem::path PathFromUtf8(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string PathToUtf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace host
