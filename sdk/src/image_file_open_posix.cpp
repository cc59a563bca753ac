#include "image_file.h"

#include <cerrno>
#include <string>

namespace hostsdk::image {

namespace {

// Wide paths hold UTF-32 code points here; the file system takes UTF-8 bytes. False for a value that is
// not a code point (a surrogate or beyond U+10FFFF).
bool ToUtf8(const MCHAR* wide, std::string& utf8) {
    for (; *wide != 0; ++wide) {
        const auto c = static_cast<unsigned long>(*wide);
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else if (c < 0x800) {
            utf8 += static_cast<char>(0xC0 | (c >> 6));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            if (c >= 0xD800 && c <= 0xDFFF)
                return false;
            utf8 += static_cast<char>(0xE0 | (c >> 12));
            utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c <= 0x10FFFF) {
            utf8 += static_cast<char>(0xF0 | (c >> 18));
            utf8 += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            return false;
        }
    }
    return true;
}

} // namespace

std::FILE* OpenImageFile(const MCHAR* path, BMMRES& status) {
    std::string utf8;
    if (!ToUtf8(path, utf8)) {
        status = BMMRES_FILENOTFOUND;
        return nullptr;
    }
    std::FILE* file = std::fopen(utf8.c_str(), "rb");
    if (file == nullptr)
        status = (errno == ENOENT || errno == ENOTDIR) ? BMMRES_FILENOTFOUND : BMMRES_IOERROR;
    return file;
}

} // namespace hostsdk::image
