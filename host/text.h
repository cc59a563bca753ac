#pragma once

#include <string>

namespace host {

// UTF-8 for output and messages; the SDK speaks wide text.
std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);

} // namespace host
