// The About rollout on real windows (Windows build, under Wine): the version label read from the built
// plug-in file in the host's plug-in directories, and the real rollout with its link.
#include "built_plugin_directory.h"
#include "map_rollouts.h"
#include "scratch_folder.h"

#include "plugin/resource_ids.h"
#include "plugin/version.h"
#include "ui/documentation_link.h"
#include "ui/hyperlink.h"
#include "ui/plugin_file.h"
#include "ui/version_text.h"

#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::string kBuiltVersion = std::string("Version: ") + CHROMASIFT_VERSION_TEXT;

// The version label's search through the host's plug-in directories, on installed copies of the built file.
TEST(PluginDirectories, TheFirstDirectoryHoldingThePluginGivesTheVersion) {
    enum Holds { Nothing, Built, Unversioned };
    const struct {
        Holds first, second;
        std::string expected;
    } rows[] = {
        {Built, Nothing, kBuiltVersion},
        {Nothing, Built, kBuiltVersion},
        {Unversioned, Built, "No version"}, // the search stops at the first file, version or not
    };
    IPathConfigMgr* paths = IPathConfigMgr::GetPathConfigMgr();
    for (const auto& row : rows) {
        const ScratchFolder scratch;
        const fs::path& root = scratch.Path();
        paths->ClearPlugInEntries();
        for (const auto& [name, holds] : {std::pair{L"first", row.first}, std::pair{L"second", row.second}}) {
            fs::create_directory(root / name);
            paths->AddPlugInEntry(name, (root / name).wstring());
            if (holds == Built)
                fs::copy_file(BuiltPluginDirectory() / kPluginFileName, root / name / kPluginFileName);
            else if (holds == Unversioned)
                WriteBytes(root / name / kPluginFileName, "not a module");
        }
        EXPECT_EQ(FindPluginVersionText(), row.expected) << row.first << " " << row.second;
    }
    paths->ClearPlugInEntries();
}

// The rollouts as the material editor shows them, with the build's plug-in directory configured.
class AboutWindow : public MapRollouts {
protected:
    void SetUp() override {
        IPathConfigMgr::GetPathConfigMgr()->ClearPlugInEntries();
        IPathConfigMgr::GetPathConfigMgr()->AddPlugInEntry(L"Plug-ins", BuiltPluginDirectory().wstring());
        saved = DocumentationShell();
        DocumentationShell() = [this](HWND owner, const wchar_t*, const wchar_t*, const wchar_t*,
                                      const wchar_t*, int) { owners.push_back(owner); };
        MapRollouts::SetUp();
    }
    void TearDown() override {
        MapRollouts::TearDown();
        DocumentationShell() = saved;
        IPathConfigMgr::GetPathConfigMgr()->ClearPlugInEntries();
    }
    std::wstring Text(int id) const { return WindowText(GetDlgItem(about, id)); }

    ShellOpenFunction saved;
    std::vector<HWND> owners;
};

// The rollout shows the installed version, its banner and a live link; reopened without the plug-in
// directory it shows no version and converts the new link afresh.
TEST_F(AboutWindow, ShowsTheVersionTheBannerAndALiveLink) {
    Open();
    EXPECT_EQ(Text(IDC_VERSION_LABEL), L"Version: 1.1.9.0");
    HWND banner = nullptr;
    for (HWND child = GetWindow(about, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP)
            banner = child;
    ASSERT_NE(banner, nullptr);
    BITMAP picture{};
    ASSERT_NE(GetObjectW(reinterpret_cast<HBITMAP>(SendMessageW(banner, STM_GETIMAGE, IMAGE_BITMAP, 0)),
                         sizeof picture, &picture),
              0)
        << "the banner bitmap is loaded";
    EXPECT_EQ(picture.bmWidth, 378);
    EXPECT_EQ(picture.bmHeight, 78);
    Close();

    IPathConfigMgr::GetPathConfigMgr()->ClearPlugInEntries();
    Open();
    EXPECT_EQ(Text(IDC_VERSION_LABEL), L"No version");
    HWND link = GetDlgItem(about, IDC_DOCUMENTATION_LINK);
    EXPECT_EQ(GetWindowLongPtrW(link, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&HyperlinkStaticProc));
    EXPECT_NE(GetPropW(link, kHyperlinkUnderlineFont), nullptr);
    // The user's click: the link reports it to the rollout, whose procedure asks the shell (the request
    // itself is the procedure's test).
    ClickAt(link, 3, 3);
    EXPECT_EQ(owners, std::vector<HWND>{about});
}

} // namespace
