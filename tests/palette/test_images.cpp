#include "test_images.h"

#include "test_files.h"

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#include "stb_image.h"

#include <memory>

namespace {

template <typename T> void Normalise(const T* source, float maximum, TestImage& image) {
    image.pixels.resize(size_t{image.width} * image.height);
    for (AColor& pixel : image.pixels) {
        pixel = AColor(static_cast<float>(source[0]) / maximum, static_cast<float>(source[1]) / maximum,
                       static_cast<float>(source[2]) / maximum, static_cast<float>(source[3]) / maximum);
        source += 4;
    }
}

} // namespace

TestImage LoadTestImage(const std::string& name) {
    const std::string path = TestDataFile("images/" + name);
    TestImage image;
    int width = 0, height = 0, channels = 0;
    if (stbi_is_16_bit(path.c_str())) {
        std::unique_ptr<stbi_us, void (*)(void*)> data(
            stbi_load_16(path.c_str(), &width, &height, &channels, 4), stbi_image_free);
        if (!data)
            return image;
        image.width = static_cast<uint32_t>(width);
        image.height = static_cast<uint32_t>(height);
        Normalise(data.get(), 65535.0f, image);
    } else {
        std::unique_ptr<stbi_uc, void (*)(void*)> data(stbi_load(path.c_str(), &width, &height, &channels, 4),
                                                       stbi_image_free);
        if (!data)
            return image;
        image.width = static_cast<uint32_t>(width);
        image.height = static_cast<uint32_t>(height);
        Normalise(data.get(), 255.0f, image);
    }
    return image;
}

std::vector<std::string> TestImageNames() {
    return {"Aqua.jpg",         "FreshFlower.jpg", "Silk.png",         "Waves.png",
            "YellowFlower.jpg", "chicky_512.png",  "rubberwhale1.png", "starry_night.jpg"};
}
