#pragma once

#include "hostsdk/color.h"

#include <cstdint>
#include <string>
#include <vector>

// A photograph decoded the way the host's bitmap manager decodes it: four channels, each divided by its
// maximum (255 or 65535), alpha 1 where the file has none.
struct TestImage {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<AColor> pixels; // row by row
};

// Decodes images/<name> of the test data; an empty image (and a test failure) when it cannot be read.
TestImage LoadTestImage(const std::string& name);

// Every image in the data folder, by file name.
std::vector<std::string> TestImageNames();
