// The map's rollouts as real windows (Windows build, run under Wine): what only the real controls show -
// labels in the rollout's font, shown and hidden controls, radio groups, spinner and list messages, and the
// palette painted. The logic behind them is the dialog procedure's and the layout table's tests.
#include "map_rollouts.h"
#include "test_maps.h"

#include "plugin/resource_ids.h"

#include <set>
#include <string>
#include <vector>

namespace {

class Rollouts : public MapRollouts {
protected:
    void TearDown() override {
        MapRollouts::TearDown();
        GetCOREInterface()->AssignCurRenderer(nullptr);
    }

    HWND Item(int id) const { return GetDlgItem(rollout, id); }
    bool Shown(int id) const { return (GetWindowLongW(Item(id), GWL_STYLE) & WS_VISIBLE) != 0; }
    bool Checked(int id) const { return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    std::wstring Text(HWND window) const {
        wchar_t text[256] = {};
        GetWindowTextW(window, text, 256);
        return text;
    }
    int Get(ChromasiftParamId id) const { return map->pblock->GetInt(id, 0); }

    // What a person does: pick the list item with that text.
    void Choose(int list, const wchar_t* item) {
        const LRESULT index = SendMessageW(Item(list), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                           reinterpret_cast<LPARAM>(item));
        ASSERT_NE(index, CB_ERR) << "no item in list " << list;
        SendMessageW(Item(list), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageW(rollout, WM_COMMAND, MAKEWPARAM(list, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(Item(list)));
    }
    void Click(int id) { SendMessageW(Item(id), BM_CLICK, 0, 0); }
    void SpinTo(int spinner, int value) {
        ISpinnerControl* control = GetISpinner(Item(spinner));
        ASSERT_NE(control, nullptr);
        control->SetValue(value, TRUE);
        ReleaseISpinner(control);
    }
    std::set<int> CheckedRadios() const {
        std::set<int> checked;
        for (int radio : {1046, 1047, 1048, 1049, 1050, 1051, 1060})
            if (Checked(radio))
                checked.insert(radio);
        return checked;
    }
    std::set<int> ShownRadios() const {
        std::set<int> shown;
        for (int radio : {1046, 1047, 1048, 1049, 1050, 1051, 1060})
            if (Shown(radio))
                shown.insert(radio);
        return shown;
    }
};

// In the rollout's own font the labels fit their statics as they do on Windows; a wider face that stands in
// for it cuts them ("Number of" for "Number of columns:").
TEST_F(Rollouts, TheTilingLabelsFitTheirStatics) {
    Open();
    for (const int id : {1053, 1054}) {
        HWND label = Item(id);
        const std::wstring text = Text(label);
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

// Which controls each category shows is the layout table's; here the real controls follow it.
TEST_F(Rollouts, EachCategoryShowsItsControlsOnTheRealRollout) {
    Open();
    EXPECT_FALSE(Shown(1551)) << "the tiling group under Pixels";
    Choose(IDC_MAPPING_COMBO, L"Coordinates");
    EXPECT_EQ(Get(pb_mapping), 2);
    EXPECT_EQ(ShownRadios(), (std::set<int>{1046, 1047, 1048, 1049}));
    EXPECT_EQ(Text(Item(1049)), L"As Tiles");
    EXPECT_TRUE(Shown(1551));

    // The V-Ray radio follows the renderer at the next layout.
    StubRenderer vray(VRAY_RENDERER_CLASS_ID);
    GetCOREInterface()->AssignCurRenderer(&vray);
    EXPECT_FALSE(Shown(1060));
    Choose(IDC_MAPPING_COMBO, L"Objects");
    EXPECT_TRUE(Shown(1060));
    EXPECT_EQ(Text(Item(1060)), L"VRay Instance (rnd)");
    StubRenderer other(Class_ID(0x1234, 0x5678));
    GetCOREInterface()->AssignCurRenderer(&other);
    Choose(IDC_MAPPING_COMBO, L"Objects");
    EXPECT_FALSE(Shown(1060));
}

TEST_F(Rollouts, RadioClicksLeaveExactlyOneChoice) {
    StubRenderer vray(VRAY_RENDERER_CLASS_ID);
    GetCOREInterface()->AssignCurRenderer(&vray);
    Open();
    Choose(IDC_MAPPING_COMBO, L"Objects");
    Click(1051); // "Per Face", in the second radio group
    EXPECT_EQ(CheckedRadios(), std::set<int>{1051});
    EXPECT_EQ(Get(pb_mapping_old), 12);
    Click(1046); // "Object (linear)" unchecks "Per Face"
    EXPECT_EQ(CheckedRadios(), std::set<int>{1046});
    Click(1060);
    EXPECT_EQ(CheckedRadios(), std::set<int>{1060});
    Click(1049);
    EXPECT_EQ(CheckedRadios(), std::set<int>{1049});

    // Another category checks its own stored choice and unchecks the radio checked before.
    Choose(IDC_MAPPING_COMBO, L"Coordinates");
    Click(1047);
    Choose(IDC_MAPPING_COMBO, L"Objects");
    EXPECT_EQ(CheckedRadios(), std::set<int>{1049});
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
    EXPECT_EQ(Text(Item(1047)), L"BerconTile(Lin)");
    EXPECT_TRUE(Shown(1033));
}

// Which spinners re-extract is the procedure's; here a real spinner's message reaches it.
TEST_F(Rollouts, ASpinnerReExtractsAndTheLabelShowsThePaletteSize) {
    ExtractFromTestImage(*map, "rubberwhale1.png", 10);
    Open();
    SpinTo(IDC_NUM_COLORS_SPIN, 7);
    EXPECT_EQ(Get(pb_num_colors), 7);
    EXPECT_EQ(map->GetPalette()->size(), 7u);
    EXPECT_EQ(Text(Item(IDC_COUNT_LABEL)), L"max #colors extracted: 7");
    EXPECT_EQ(Text(Item(IDC_NUM_COLORS_EDIT)), L"7");
}

TEST_F(Rollouts, TheListsSortAndHarmonise) {
    ExtractFromTestImage(*map, "rubberwhale1.png", 8);
    Open();
    // The sort list shows its items alphabetically; the stored value is the item's own.
    Choose(IDC_SORTS_COMBO, L"Luminance (Inverse)");
    EXPECT_EQ(Get(pb_sort), 4);

    Choose(IDC_HARMONY_COMBO, L"Y Type");
    EXPECT_EQ(Get(pb_harmony), 6);
    EXPECT_EQ(Get(pb_is_harmonized), 1);
}

// Rollouts whose palette is set directly, as a map without a bitmap keeps it, and what their swatch frame
// shows after the window system repaints them: read back from the rollout's own window.
class RolloutSwatches : public Rollouts {
protected:
    // Colours told apart by every channel.
    static Palette Distinct(int size) {
        Palette palette(static_cast<std::size_t>(size));
        for (int i = 0; i < size; ++i) {
            palette[static_cast<std::size_t>(i)].red = static_cast<std::uint16_t>((40 + 7 * i) << 8);
            palette[static_cast<std::size_t>(i)].green = static_cast<std::uint16_t>((200 - 5 * i) << 8);
            palette[static_cast<std::size_t>(i)].blue = static_cast<std::uint16_t>((3 * i) << 8);
        }
        return palette;
    }
    static COLORREF Shown(const PaletteEntry& entry) {
        return RGB(entry.red >> 8, entry.green >> 8, entry.blue >> 8);
    }

    void OpenWith(const Palette& palette, int numColours) {
        map->SetPalette(palette);
        map->pblock->SetValue(pb_num_colors, 0, numColours);
        Open();
        RedrawWindow(rollout, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        GetClientRect(Item(IDC_SWATCH_FRAME), &frame);
        MapWindowPoints(Item(IDC_SWATCH_FRAME), rollout, reinterpret_cast<POINT*>(&frame), 2);
    }
    // The colour at the centre of cell i of a grid with that many columns and rows.
    COLORREF Cell(int i, int columns, int rows) const {
        const int width = (frame.right - frame.left) / columns;
        const int height = (frame.bottom - frame.top) / rows;
        HDC dc = GetDC(rollout);
        const COLORREF colour = GetPixel(dc, frame.left + (i % columns) * width + width / 2,
                                         frame.top + (i / columns) * height + height / 2);
        ReleaseDC(rollout, dc);
        return colour;
    }

    RECT frame{};
};

TEST_F(RolloutSwatches, TheGridIsDrawnFromTheWholePaletteAndWhiteBeyondIt) {
    // 26 of 30 colours: two rows of 25 columns; the cells of the second row show the palette as far as it
    // goes, count or not, and white after it. The label tells the palette's size, not the count.
    const Palette thirty = Distinct(30);
    OpenWith(thirty, 26);
    EXPECT_EQ(Text(Item(IDC_COUNT_LABEL)), L"max #colors extracted: 30");
    for (int i = 0; i < 30; ++i)
        EXPECT_EQ(Cell(i, 25, 2), Shown(thirty[static_cast<std::size_t>(i)])) << "cell " << i;
    for (int i = 30; i < 50; ++i)
        EXPECT_EQ(Cell(i, 25, 2), RGB(255, 255, 255)) << "cell " << i;
}

} // namespace
