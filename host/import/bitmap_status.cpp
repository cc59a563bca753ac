#include "host/import/bitmap_status.h"

#include "host/base/text.h"

#include <filesystem>

namespace host {

std::string BitmapStatusText(BMMRES status) {
    switch (status) {
    case BMMRES_FILENOTFOUND:
        return "file not found";
    case BMMRES_MEMORYERROR:
        return "the image is too large";
    case BMMRES_NODRIVER:
        return "this build cannot read that kind of image";
    case BMMRES_IOERROR:
        return "the file cannot be read";
    case BMMRES_INVALIDFORMAT:
        return "not an image file";
    case BMMRES_CORRUPTFILE:
        return "the image is damaged or truncated";
    default:
        return "error " + std::to_string(status);
    }
}

std::string ImageLoadProblem(const std::string& file, BMMRES status) {
    std::error_code error;
    if (std::filesystem::is_directory(PathFromUtf8(file), error))
        return "it is a directory";
    return BitmapStatusText(status);
}

} // namespace host
