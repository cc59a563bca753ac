// The About rollout through the dialog procedure, in both builds: the version text's form and the click on
// the documentation link reaching the shell with the right request. No browser is ever started.
#include "built_plugin_directory.h"
#include "map_test_support.h"
#include "scratch_folder.h"

#include "plugin/param_ids.h"
#include "plugin/resource_ids.h"
#include "ui/chromasift_dlg_proc.h"
#include "ui/documentation_link.h"
#include "ui/plugin_file.h"
#include "ui/version_text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

TEST(VersionText, FormsEachPartFromItsHalfOfTheFileVersion) {
    EXPECT_EQ(FormatVersionText(0x00010001, 0x00090000), "Version: 1.1.9.0");
    EXPECT_EQ(FormatVersionText(0xFFFF0002, 0x0003FFFE), "Version: 65535.2.3.65534");
}

TEST(VersionText, NoPluginDirectoryHoldingTheFileGivesNoVersion) {
    IPathConfigMgr* paths = IPathConfigMgr::GetPathConfigMgr();
    paths->ClearPlugInEntries();
    EXPECT_EQ(FindPluginVersionText(), "No version");

    const ScratchFolder empty;
    paths->AddPlugInEntry(L"Empty", empty.Path().wstring());
    paths->AddPlugInEntry(L"Missing", (empty / "missing").wstring());
    EXPECT_EQ(FindPluginVersionText(), "No version");
    paths->ClearPlugInEntries();
}

TEST(PluginFile, TheDirectoryEntryIsFollowedByTheSeparatorAndTheName) {
#ifdef _WIN32
    EXPECT_EQ(PluginFileIn(L"C:"), L"C:\\kr_tintworks.dlt");
    EXPECT_EQ(PluginFileIn(L""), L"\\kr_tintworks.dlt");
    EXPECT_EQ(PluginFileIn(L"D:\\plugins\\"), L"D:\\plugins\\\\kr_tintworks.dlt");
#else
    EXPECT_EQ(PluginFileIn(L""), L"/kr_tintworks.dlt");
    EXPECT_EQ(PluginFileIn(L"/opt/plugins"), L"/opt/plugins/kr_tintworks.dlt");
#endif
}

TEST(DocumentationAddress, RelativePathsAreTakenFromThePluginsFolder) {
#ifdef _WIN32
    const std::wstring plugin = L"C:\\host\\plugins\\kr_tintworks.dlt";
    EXPECT_EQ(ResolveDocumentationAddress(L"../doc/guide.html", plugin), L"C:\\host\\doc\\guide.html");
#else
    const std::wstring plugin = L"/opt/host/plugins/kr_tintworks.dlt";
    EXPECT_EQ(ResolveDocumentationAddress(L"../doc/guide.html", plugin), L"/opt/host/doc/guide.html");
    EXPECT_EQ(ResolveDocumentationAddress(L"guide.html", plugin), L"/opt/host/plugins/guide.html");
    // One character before the colon is a drive only when it is a letter.
    EXPECT_EQ(ResolveDocumentationAddress(L"1:guide.html", plugin), L"/opt/host/plugins/1:guide.html");
#endif
    // Schemes, drives (bare ones too) and rooted paths are taken as they are.
    for (const wchar_t* address :
         {L"/srv/guide.html", L"https://example.org/guide", L"file:///srv/guide.html", L"svn+x-y.z:guide",
          L"im:guide", L"\\srv\\guide.html", L"D:\\guide.html", L"D:"})
        EXPECT_EQ(ResolveDocumentationAddress(address, plugin), address);
    // Without an installed plug-in the address is opened as the build gave it.
    EXPECT_EQ(ResolveDocumentationAddress(L"../doc/guide.html", std::nullopt), L"../doc/guide.html");
}

TEST(DocumentationAddress, TheBuiltAddressNamesTheGuideBesideThePlugin) {
    IPathConfigMgr* paths = IPathConfigMgr::GetPathConfigMgr();
    paths->ClearPlugInEntries();
    paths->AddPlugInEntry(L"Plug-ins", BuiltPluginDirectory().wstring());
    const std::wstring address = DocumentationAddress();
    paths->ClearPlugInEntries();
    EXPECT_NE(address, BuiltDocumentationAddress()) << "the plug-in file was not found";
    EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::path(address)));
}

struct ShellRequest {
    HWND owner;
    std::wstring verb;
    std::wstring file;
    bool parameters;
    bool directory;
    int show;
};

class AboutRollout : public ::testing::Test {
protected:
    void SetUp() override {
        saved = DocumentationShell();
        DocumentationShell() = [this](HWND owner, const wchar_t* verb, const wchar_t* file,
                                      const wchar_t* parameters, const wchar_t* directory, int show) {
            requests.push_back({owner, verb, file, parameters != nullptr, directory != nullptr, show});
        };
        map = NewMap();
        theChromasiftDlgProc.SetMap(map.get());
    }
    void TearDown() override { DocumentationShell() = saved; }

    INT_PTR Command(MapID rollout, int control, int notification) {
        ParamMapSpec layout;
        layout.mapId = rollout;
        IParamMap2 paramMap(map->pblock, layout);
        return theChromasiftDlgProc.DlgProc(0, &paramMap, window, WM_COMMAND,
                                            static_cast<WPARAM>((notification << 16) | control), 0);
    }

    ShellOpenFunction saved;
    std::vector<ShellRequest> requests;
    MapPtr map;
    HWND window = reinterpret_cast<HWND>(0x1234);
};

TEST_F(AboutRollout, TheLinkCommandAsksTheShellToOpenTheDocumentation) {
    // A click on a notifying static arrives with the notification code 0.
    Command(kAboutMapId, IDC_DOCUMENTATION_LINK, 0);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].owner, window);
    EXPECT_EQ(requests[0].verb, L"open");
    EXPECT_EQ(requests[0].file, DocumentationAddress());
    EXPECT_FALSE(requests[0].parameters);
    EXPECT_FALSE(requests[0].directory);
    EXPECT_EQ(requests[0].show, 1); // SW_SHOWNORMAL
}

TEST_F(AboutRollout, OnlyTheAboutRolloutsLinkOpensIt) {
    // 1044 is the hue field in the parameters rollout.
    Command(kParamsMapId, IDC_HUE_EDIT, 0);
    Command(kAboutMapId, IDC_VERSION_LABEL, 0);
    EXPECT_TRUE(requests.empty());
}

} // namespace
