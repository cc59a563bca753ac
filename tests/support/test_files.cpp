#include "test_files.h"

#include <gtest/gtest.h>

#include <filesystem>

std::string TestDataFile(const std::string& relative) {
    const std::string path = std::string(CHROMASIFT_DATA_DIR) + "/" + relative;
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        ADD_FAILURE() << "missing test input " << path;
    return path;
}
