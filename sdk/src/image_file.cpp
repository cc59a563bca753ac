#include "image_file.h"

#include "hostsdk/large_arrays.h"

#include <algorithm>
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

// The file's size as far as it can be told (0 where it cannot, as for a pipe or a device).
std::size_t SizeHint(std::FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0)
        return 0;
    const long size = std::ftell(file);
    std::rewind(file);
    return size > 0 ? static_cast<std::size_t>(size) : 0;
}

} // namespace

BMMRES ReadImageFile(const MCHAR* path, std::vector<unsigned char>& bytes,
                     const std::function<BMMRES(std::span<const unsigned char>)>& checkHead,
                     std::size_t headBytes) {
    if (path == nullptr || *path == 0)
        return BMMRES_FILENOTFOUND;
    BMMRES status = BMMRES_SUCCESS;
    const std::unique_ptr<std::FILE, FileCloser> file(OpenImageFile(path, status));
    if (!file)
        return status;

    // Read in chunks until the end rather than trusting a size query: the same code then works for any
    // file, and a file that grows while being read cannot overrun the limit. The size, where it can be
    // told, only reserves the memory at once (one byte more, for the read that finds the end), so that a
    // large file is not copied from buffer to growing buffer.
    constexpr std::size_t chunk = 1 << 20;
    bytes.clear();
    const std::size_t size = SizeHint(file.get());
    // The first bytes first: a large file that is no image is refused as such.
    if (checkHead) {
        bytes.resize(headBytes);
        bytes.resize(std::fread(bytes.data(), 1, headBytes, file.get()));
        if (std::ferror(file.get()))
            return BMMRES_IOERROR;
        if (const BMMRES judged = checkHead(bytes); judged != BMMRES_SUCCESS)
            return judged;
    }
    if (size > kMaxFileBytes)
        return BMMRES_MEMORYERROR;
    ReserveLarge(bytes, size + 1);
    for (;;) {
        const std::size_t used = bytes.size();
        if (used >= kMaxFileBytes)
            return BMMRES_MEMORYERROR;
        const std::size_t room = bytes.capacity() - used;
        const std::size_t wanted = room > 0 ? std::min(room, chunk) : chunk;
        bytes.resize(used + wanted);
        const std::size_t got = std::fread(bytes.data() + used, 1, wanted, file.get());
        bytes.resize(used + got);
        if (got < wanted)
            break;
    }
    if (std::ferror(file.get()))
        return BMMRES_IOERROR;
    if (bytes.size() > kMaxFileBytes)
        return BMMRES_MEMORYERROR;
    return BMMRES_SUCCESS;
}

} // namespace hostsdk::image
