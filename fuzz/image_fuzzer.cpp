// Image file bytes as a map reads the bitmap the user picks: the bitmap manager loads the file, the sample
// grid reads its pixels and the palette is extracted, then harmonised and sorted by the map's settings.
#include "linked_plugin.h"

#include "plugin/param_ids.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

// The bitmap manager reads files only: every input is written to one file of this process.
const std::filesystem::path& ImageFile() {
    static const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("chromasift-image-fuzzer-" + std::to_string(getpid()));
    return file;
}

void RemoveImageFile() {
    std::error_code ignored;
    std::filesystem::remove(ImageFile(), ignored);
}

bool WriteImageFile(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(ImageFile().c_str(), "wb");
    if (file == nullptr)
        return false;
    const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

// The map's settings come from a hash of the bytes, so that every input stays a plain image file.
std::uint32_t Hash(const std::uint8_t* data, std::size_t size) {
    std::uint32_t hash = 2166136261u;
    for (std::size_t i = 0; i < size; ++i)
        hash = (hash ^ data[i]) * 16777619u;
    return hash;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    AttachLinkedPlugin();
    std::atexit(RemoveImageFile);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!WriteImageFile(data, size)) {
        std::perror(ImageFile().c_str());
        std::abort();
    }
    const std::uint32_t hash = Hash(data, size);
    // "# colors" 1 to 100 and "# colors skip" 0 to 7; harmony and sort one beyond their ranges on each side.
    const std::uint32_t numColours = 1 + hash % 100;
    const std::uint32_t skipColours = (hash >> 8) % 8;
    MapPtr map = NewMap();
    map->pblock->SetValue(pb_harmony, 0, static_cast<int>((hash >> 12) % 10) - 1);
    map->pblock->SetValue(pb_sort, 0, static_cast<int>((hash >> 16) % 7) - 1);

    BitmapInfo info;
    const std::wstring name = ImageFile().wstring();
    info.SetName(name.c_str());
    map->ExtractPalette(info, numColours, skipColours);
    // Gone once read: a run that libFuzzer ends without calling the exit handlers leaves nothing behind.
    RemoveImageFile();
    map->HarmonisePalette();
    map->AutoSortPalette();

    // Extraction keeps at most "# colors" entries; harmonising and sorting never add any.
    if (map->GetPalette()->size() > numColours || map->GetExtractedPalette().size() > numColours) {
        std::fprintf(stderr, "palette of %zu entries (extracted %zu) for %u colours\n",
                     map->GetPalette()->size(), map->GetExtractedPalette().size(), numColours);
        std::abort();
    }
    return 0;
}
