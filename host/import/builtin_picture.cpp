#include "host/import/builtin_picture.h"

#include "host/base/text.h"
#include "host/draw/png_file.h"

#include <chrono>
#include <random>
#include <stdexcept>
#include <string>
#include <system_error>

namespace host {

namespace {

constexpr int kWidth = 256;
constexpr int kHeight = 96;
constexpr std::uint8_t kStripeColours[12][3] = {
    {230, 57, 70},  {241, 143, 1}, {255, 209, 102}, {6, 214, 160}, {17, 138, 178}, {7, 59, 76},
    {131, 56, 236}, {255, 0, 110}, {58, 134, 255},  {251, 86, 7},  {139, 201, 38}, {250, 240, 228},
};

} // namespace

Picture BuiltinPicture() {
    Picture picture;
    picture.width = kWidth;
    picture.height = kHeight;
    // Stripe i is 10 + 2i pixels wide; the last one takes what is left (36 pixels).
    std::vector<int> stripeOfColumn;
    for (int stripe = 0; stripe < 12; ++stripe)
        for (int i = 0; i < 10 + 2 * stripe; ++i)
            stripeOfColumn.push_back(stripe);
    stripeOfColumn.resize(kWidth, 11);
    picture.rgba.reserve(static_cast<std::size_t>(kWidth * kHeight * 4));
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const std::uint8_t(&c)[3] = kStripeColours[stripeOfColumn[static_cast<std::size_t>(x)]];
            picture.rgba.insert(picture.rgba.end(), {c[0], c[1], c[2], 255});
        }
    return picture;
}

TemporaryPicture::~TemporaryPicture() {
    if (!path.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(path.parent_path(), ignored);
    }
}

const std::filesystem::path& TemporaryPicture::Path() {
    if (path.empty()) {
        // Several hosts may run at once: every picture gets a folder of its own, and a name that reads well
        // where the map shows it (the bitmap button, messages).
        std::random_device device;
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        const std::filesystem::path folder =
            std::filesystem::temp_directory_path() /
            ("chromasift-" + std::to_string(device()) + "-" +
             std::to_string(static_cast<unsigned long long>(stamp) % 1000000007ull));
        // Each named for removal before it exists, so that no moment leaves it behind on a signal.
        const std::filesystem::path file = folder / "built-in picture.png";
        folderRemoval = std::make_unique<RemovedOnSignal>(folder);
        std::error_code error;
        if (!std::filesystem::create_directory(folder, error)) {
            folderRemoval.reset();
            throw std::runtime_error(PathToUtf8(folder) + ": cannot make a folder for the built-in picture" +
                                     (error ? ": " + error.message() : std::string()));
        }
        fileRemoval = std::make_unique<RemovedOnSignal>(file);
        const Picture picture = BuiltinPicture();
        try {
            WritePng(file, picture.width, picture.height, picture.rgba);
        } catch (...) {
            std::filesystem::remove_all(folder, error);
            throw;
        }
        path = file;
    }
    return path;
}

} // namespace host
