// Attaches the plug-in code linked into a test program, as the host's loader attaches the module.
#include "plugin/plugin_main.h"
#include "plugin/string_table.h"

#include <gtest/gtest.h>

namespace {

class LinkedPlugin : public ::testing::Environment {
public:
    void SetUp() override {
        static int moduleAnchor;
        auto* module = reinterpret_cast<HINSTANCE>(&moduleAnchor);
        RegisterModuleStrings(module, kStringTable, kStringTableSize);
        DllMain(module, DLL_PROCESS_ATTACH, nullptr);
    }
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new LinkedPlugin);

} // namespace
