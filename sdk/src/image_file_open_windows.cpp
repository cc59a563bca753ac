#include "image_file.h"

#include <cerrno>
#include <stdio.h>

namespace hostsdk::image {

std::FILE* OpenImageFile(const MCHAR* path, BMMRES& status) {
    std::FILE* file = _wfopen(path, L"rb");
    if (file == nullptr)
        status = (errno == ENOENT || errno == ENOTDIR) ? BMMRES_FILENOTFOUND : BMMRES_IOERROR;
    return file;
}

} // namespace hostsdk::image
