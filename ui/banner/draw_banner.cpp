// Draws the About rollout's banner and writes it as the bitmap file the resource script includes:
//   draw_banner ui/banner.bmp
// The file is committed, so the cross build needs no native program; a test keeps it in step with this.
#include "ui/banner/banner_picture.h"
#include "ui/banner/bmp_file.h"

#include <cstdio>
#include <fstream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: draw_banner OUT.bmp\n");
        return 2;
    }
    const std::vector<std::uint8_t> bytes = EncodeBmp24(DrawBanner());
    std::ofstream file(argv[1], std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!file) {
        std::fprintf(stderr, "draw_banner: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
