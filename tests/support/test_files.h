#pragma once

// The real images and meshes of the tests' data folder (tests/data).
#include <string>

// The path of a file in the data folder, e.g. "images/Aqua.jpg". A missing file is reported as a test
// failure naming it, so that a test without its input fails with that message rather than on empty data.
std::string TestDataFile(const std::string& relative);
