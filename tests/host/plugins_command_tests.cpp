#include "host/commands/plugins_command.h"

#include "host/base/text.h"

#include "hostsdk/path_config.h"

#include "scratch_folder.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

TEST(PluginsCommand, ListsThePluginAndReportsBrokenFiles) {
    const ScratchFolder broken;
    WriteBytes(broken / "not_a_plugin.dlt", "this is no library");

    IPathConfigMgr* paths = IPathConfigMgr::GetPathConfigMgr();
    paths->ClearPlugInEntries();
    paths->AddPlugInEntry(L"Plug-ins", (host::ExecutableDirectory() / "plugins").wstring());
    paths->AddPlugInEntry(L"Broken", broken.Path().wstring());
    host::PluginManager plugins;
    plugins.LoadAll();
    ASSERT_EQ(plugins.Libraries().size(), 1u);
    ASSERT_EQ(plugins.Failures().size(), 1u);
    EXPECT_EQ(plugins.Failures()[0].file.filename(), "not_a_plugin.dlt");
    EXPECT_NE(plugins.FindClass(0xC10, Class_ID(0x61C17CE2, 0x2FA47E5B)), nullptr);
    EXPECT_EQ(plugins.FindClass(0xC00, Class_ID(0x61C17CE2, 0x2FA47E5B)), nullptr);

    std::ostringstream out, err;
    host::PrintPlugins(plugins, out, err);
    const std::string text = out.str();
    for (const char* expected : {"kr_tintworks.dlt", "KR Tintworks by KESTRIM", "0x3a982800", "KR Chromasift",
                                 "mental ray", "0x61c17ce2 0x2fa47e5b", "0xc10"})
        EXPECT_NE(text.find(expected), std::string::npos) << "missing \"" << expected << "\" in:\n" << text;
    EXPECT_EQ(text.find("FAILED"), std::string::npos) << "failures go to standard error";
    const std::string file = host::PathToUtf8(broken / "not_a_plugin.dlt");
    EXPECT_EQ(err.str().rfind("chromasift: " + file + ": cannot load: ", 0), 0u) << err.str();
    EXPECT_EQ(err.str().find(file, err.str().find(file) + 1), std::string::npos)
        << "the path once: " << err.str();
    paths->ClearPlugInEntries();
}

} // namespace
