// The map's rollouts as real windows (Windows build, run under Wine): what only the real controls show -
// labels in the rollout's font, shown and hidden controls, radio groups and checks, and the palette painted.
// The logic behind them is the dialog procedure's and the layout table's tests.
#include "map_rollouts.h"
#include "test_maps.h"

#include "plugin/resource_ids.h"

#include <set>
#include <string>
#include <vector>

namespace {

constexpr int kRadios[] = {1046, 1047, 1048, 1049, 1050, 1051, 1060};

class Rollouts : public MapRollouts {
protected:
    void TearDown() override {
        MapRollouts::TearDown();
        GetCOREInterface()->AssignCurRenderer(nullptr);
    }

    HWND Item(int id) const { return GetDlgItem(rollout, id); }
    bool Shown(int id) const { return (GetWindowLongW(Item(id), GWL_STYLE) & WS_VISIBLE) != 0; }
    int Get(ChromasiftParamId id) const { return map->pblock->GetInt(id, 0); }
    // The radios shown, or the radios checked.
    std::set<int> Radios(bool checked) const {
        std::set<int> found;
        for (int radio : kRadios)
            if (checked ? SendMessageW(Item(radio), BM_GETCHECK, 0, 0) == BST_CHECKED : Shown(radio))
                found.insert(radio);
        return found;
    }

    // What a person does: pick the category list's item with that text.
    void Choose(const wchar_t* item) {
        const HWND list = Item(IDC_MAPPING_COMBO);
        const LRESULT index =
            SendMessageW(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(item));
        ASSERT_NE(index, CB_ERR);
        SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageW(rollout, WM_COMMAND, MAKEWPARAM(IDC_MAPPING_COMBO, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
    }
    void Click(int id) { SendMessageW(Item(id), BM_CLICK, 0, 0); }
};

// In the rollout's own font the labels fit their statics as they do on Windows; a wider face that stands in
// for it cuts them ("Number of" for "Number of columns:").
TEST_F(Rollouts, TheTilingLabelsFitTheirStatics) {
    Open();
    for (const int id : {1053, 1054}) {
        HWND label = Item(id);
        const std::wstring text = WindowText(label);
        HDC dc = GetDC(label);
        const HGDIOBJ old =
            SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
        SIZE extent{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        SelectObject(dc, old);
        ReleaseDC(label, dc);
        RECT client;
        GetClientRect(label, &client);
        EXPECT_LE(extent.cx, client.right)
            << "\"" << std::string(text.begin(), text.end()) << "\" is cut off";
    }
}

// Which controls each category shows and which radio a click checks are the layout table's and the
// procedure's; here the real controls follow them, the V-Ray radio with the renderer at the next layout.
TEST_F(Rollouts, TheRealControlsFollowTheCategoryAndTheRadioClicked) {
    StubRenderer vray(VRAY_RENDERER_CLASS_ID);
    GetCOREInterface()->AssignCurRenderer(&vray);
    Open();
    EXPECT_FALSE(Shown(1551)) << "the tiling group under Pixels";
    Choose(L"Coordinates");
    EXPECT_EQ(Radios(false), (std::set<int>{1046, 1047, 1048, 1049}));
    EXPECT_TRUE(Shown(1551));
    Click(1047);

    Choose(L"Objects");
    ASSERT_EQ(Radios(false), (std::set<int>{1046, 1047, 1048, 1049, 1050, 1051, 1060}));
    // A click, in either radio group, leaves exactly one radio checked.
    for (const int radio : {1051, 1046, 1060, 1049}) {
        Click(radio);
        EXPECT_EQ(Radios(true), std::set<int>{radio});
    }
    EXPECT_EQ(Get(pb_mapping_old), 7) << "Object ID";

    // Another category checks its own stored choice and unchecks the radio checked before.
    Choose(L"Coordinates");
    EXPECT_EQ(Radios(true), std::set<int>{1047});
    StubRenderer other(Class_ID(0x1234, 0x5678));
    GetCOREInterface()->AssignCurRenderer(&other);
    Choose(L"Objects");
    EXPECT_FALSE(Shown(1060));
    EXPECT_EQ(Radios(true), std::set<int>{1049});
}

// The radios make the template's two automatic groups, 1046 to 1050 and 1051 with 1060, as the controls
// before each start a group: a click unchecks its own group, the procedure the other.
TEST_F(Rollouts, TheModeRadiosFormTwoGroups) {
    Open();
    std::vector<std::vector<int>> groups;
    bool newGroup = true;
    for (HWND child = GetWindow(rollout, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        if (style & WS_GROUP)
            newGroup = true;
        wchar_t kind[16] = {};
        GetClassNameW(child, kind, 16);
        if (lstrcmpiW(kind, L"Button") != 0 || (style & BS_TYPEMASK) != BS_AUTORADIOBUTTON)
            continue;
        if (newGroup)
            groups.emplace_back();
        groups.back().push_back(GetDlgCtrlID(child));
        newGroup = false;
    }
    EXPECT_EQ(groups, (std::vector<std::vector<int>>{{1046, 1047, 1048, 1049, 1050}, {1051, 1060}}));
}

TEST_F(Rollouts, EachMapsRolloutsShowThatMap) {
    map->pblock->SetValue(pb_mapping, 0, 2);
    Open();
    Close();
    // The second map is the procedure's before its rollouts exist: their layout is this map's.
    map = NewMap();
    map->pblock->SetValue(pb_mapping, 0, 3);
    Open();
    EXPECT_EQ(WindowText(Item(1047)), L"BerconTile(Lin)");
    EXPECT_TRUE(Shown(1033));
}

// The rollout paints the palette in its swatch frame when the window system repaints it (which cell shows
// what is the drawing's test), and its label tells the palette's size.
TEST_F(Rollouts, TheRolloutPaintsThePaletteInItsFrame) {
    Palette three(3);
    for (std::size_t i = 0; i < three.size(); ++i) { // colours told apart by every channel
        three[i].red = static_cast<std::uint16_t>((40 + 7 * i) << 8);
        three[i].green = static_cast<std::uint16_t>((200 - 5 * i) << 8);
        three[i].blue = static_cast<std::uint16_t>((3 * i) << 8);
    }
    map->SetPalette(three);
    map->pblock->SetValue(pb_num_colors, 0, 3);
    Open();
    RedrawWindow(rollout, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(WindowText(Item(IDC_COUNT_LABEL)), L"max #colors extracted: 3");
    RECT frame;
    GetClientRect(Item(IDC_SWATCH_FRAME), &frame);
    MapWindowPoints(Item(IDC_SWATCH_FRAME), rollout, reinterpret_cast<POINT*>(&frame), 2);
    HDC dc = GetDC(rollout);
    for (int i = 0; i < 3; ++i) {
        const PaletteEntry& entry = three[static_cast<std::size_t>(i)];
        EXPECT_EQ(GetPixel(dc, frame.left + (2 * i + 1) * (frame.right - frame.left) / 6,
                           (frame.top + frame.bottom) / 2),
                  RGB(entry.red >> 8, entry.green >> 8, entry.blue >> 8))
            << "cell " << i;
    }
    ReleaseDC(rollout, dc);
}

} // namespace
