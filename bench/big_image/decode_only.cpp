// The yardstick for the big-image comparison: reads an image file into memory and decodes it to four
// 8-bit channels with stb_image, configured as the SDK's bitmap manager configures it, and nothing else.
//
//   decode_only IMAGE      (prints the size and the first pixel, so the decode cannot be left out)
#define STB_IMAGE_IMPLEMENTATION
#include "stb_image_formats.h"
#include <stb_image.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: decode_only IMAGE\n");
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary | std::ios::ate);
    std::vector<unsigned char> bytes(static_cast<std::size_t>(file.tellg()));
    file.seekg(0);
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    int width = 0, height = 0, channels = 0;
    unsigned char* pixels =
        stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &width, &height, &channels, 4);
    if (pixels == nullptr || !file) {
        std::fprintf(stderr, "decode_only: cannot decode %s\n", argv[1]);
        return 1;
    }
    std::printf("%d x %d, first pixel %d %d %d %d\n", width, height, pixels[0], pixels[1], pixels[2],
                pixels[3]);
    stbi_image_free(pixels);
    return 0;
}
