#include "image_file.h"

#include <climits>
#include <cstddef>
#include <memory>

namespace hostsdk::image {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// The decoders take the length as an int.
constexpr std::size_t kMaxFileBytes = INT_MAX;

} // namespace

BMMRES ReadImageFile(const MCHAR* path, std::vector<unsigned char>& bytes) {
    if (path == nullptr || *path == 0)
        return BMMRES_FILENOTFOUND;
    BMMRES status = BMMRES_SUCCESS;
    const std::unique_ptr<std::FILE, FileCloser> file(OpenImageFile(path, status));
    if (!file)
        return status;

    // Read in chunks until the end rather than trusting a size query: the same code then works for any
    // file, and a file that grows while being read cannot overrun the limit.
    constexpr std::size_t chunk = 1 << 20;
    bytes.clear();
    for (;;) {
        const std::size_t used = bytes.size();
        if (used >= kMaxFileBytes)
            return BMMRES_MEMORYERROR;
        bytes.resize(used + chunk);
        const std::size_t got = std::fread(bytes.data() + used, 1, chunk, file.get());
        bytes.resize(used + got);
        if (got < chunk)
            break;
    }
    if (std::ferror(file.get()))
        return BMMRES_IOERROR;
    if (bytes.size() > kMaxFileBytes)
        return BMMRES_MEMORYERROR;
    return BMMRES_SUCCESS;
}

} // namespace hostsdk::image
