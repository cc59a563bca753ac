#include "scratch_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>

namespace {

std::filesystem::path Utf8Path(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string PathUtf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace

ScratchFolder::ScratchFolder() {
    std::random_device device;
    do
        path = std::filesystem::temp_directory_path() / ("chromasift-test-" + std::to_string(device()));
    while (!std::filesystem::create_directories(path));
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

std::filesystem::path ScratchFolder::operator/(const std::string& name) const {
    return path / Utf8Path(name);
}

std::string ScratchFolder::File(const std::string& name) const {
    return PathUtf8(*this / name);
}

std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
    EXPECT_TRUE(out.flush().good()) << PathUtf8(file) << " cannot be written";
}
