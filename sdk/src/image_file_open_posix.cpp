#include "image_file.h"

#include "hostsdk/utf8.h"

#include <cerrno>
#include <string>

namespace hostsdk::image {

std::FILE* OpenImageFile(const MCHAR* path, BMMRES& status) {
    // Wide paths hold UTF-32 code points here; the file system takes UTF-8 bytes.
    bool valid = true;
    const std::string utf8 = Utf8FromWide(path, &valid);
    if (!valid) {
        status = BMMRES_FILENOTFOUND;
        return nullptr;
    }
    std::FILE* file = std::fopen(utf8.c_str(), "rb");
    if (file == nullptr)
        status = (errno == ENOENT || errno == ENOTDIR) ? BMMRES_FILENOTFOUND : BMMRES_IOERROR;
    return file;
}

} // namespace hostsdk::image
