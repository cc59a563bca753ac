#pragma once

// Wide text and UTF-8: the one conversion the SDK and the host share. Wide text is UTF-16 where wchar_t has
// 16 bits (Windows) and UTF-32 elsewhere. Header-only, so that programs holding only the SDK's value types
// need no library for it.
#include <cstdint>
#include <string>
#include <string_view>

namespace hostsdk {

// The UTF-8 of `text`, surrogate pairs joined. A value that is no code point (a lone surrogate, a value
// beyond U+10FFFF) is still written as its bytes would be, and clears `*valid` when `valid` is given.
inline std::string Utf8FromWide(std::wstring_view text, bool* valid = nullptr) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::uint32_t c = static_cast<std::uint32_t>(text[i]);
        if (sizeof(wchar_t) == 2 && c >= 0xd800 && c < 0xdc00 && i + 1 < text.size()) {
            const auto low = static_cast<std::uint32_t>(text[i + 1]);
            if (low >= 0xdc00 && low < 0xe000) {
                c = 0x10000 + ((c - 0xd800) << 10) + (low - 0xdc00);
                ++i;
            }
        }
        if (valid != nullptr && ((c >= 0xd800 && c < 0xe000) || c > 0x10ffff))
            *valid = false;
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xc0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3f)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xe0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3f)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3f)));
        } else {
            out.push_back(static_cast<char>(0xf0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3f)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3f)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3f)));
        }
    }
    return out;
}

// The wide text of UTF-8 `text`. Bytes that are not UTF-8 are taken as they come: a lead byte's value
// bits with those of the continuation bytes that follow it.
inline std::wstring WideFromUtf8(std::string_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::uint32_t c = lead;
        std::size_t extra = 0;
        if (lead >= 0xf0) {
            c = lead & 0x07;
            extra = 3;
        } else if (lead >= 0xe0) {
            c = lead & 0x0f;
            extra = 2;
        } else if (lead >= 0xc0) {
            c = lead & 0x1f;
            extra = 1;
        }
        ++i;
        for (std::size_t k = 0; k < extra && i < text.size(); ++k, ++i)
            c = (c << 6) | (static_cast<unsigned char>(text[i]) & 0x3f);
        if (sizeof(wchar_t) == 2 && c >= 0x10000) {
            c -= 0x10000;
            out.push_back(static_cast<wchar_t>(0xd800 + (c >> 10)));
            out.push_back(static_cast<wchar_t>(0xdc00 + (c & 0x3ff)));
        } else {
            out.push_back(static_cast<wchar_t>(c));
        }
    }
    return out;
}

} // namespace hostsdk
