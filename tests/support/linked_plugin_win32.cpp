// Attaches the plug-in code linked into a test program: the program carries the string table resource.
#include "plugin/plugin_main.h"

#include <gtest/gtest.h>

namespace {

class LinkedPlugin : public ::testing::Environment {
public:
    void SetUp() override { DllMain(GetModuleHandleW(nullptr), DLL_PROCESS_ATTACH, nullptr); }
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new LinkedPlugin);

} // namespace
