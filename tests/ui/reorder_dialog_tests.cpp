// The reorder dialog driven as a person would (Windows build, under Wine): mouse presses, moves and
// releases on the swatch frame, OK, Cancel and Escape, posted from a thread timer that runs inside the
// dialog's modal loop; then the palette the map keeps.
#include "map_test_support.h"

#include "plugin/param_ids.h"
#include "plugin/plugin_main.h"
#include "plugin/resource_ids.h"
#include "ui/chromasift_dlg_proc.h"
#include "ui/manual_reorder.h"
#include "ui/reorder_dialog.h"
#include "ui/swatch_reorder.h"

#include "ui_test_windows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

using Step = std::function<void(HWND dialog)>;

// The steps of the running test, one a timer tick once the dialog is there.
std::vector<Step> script;
std::size_t nextStep = 0;

// The reorder dialog of this thread: tests of other processes may have one open at the same time.
HWND FindReorderDialog() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM result) -> BOOL {
            wchar_t title[64] = {};
            GetWindowTextW(window, title, 64);
            if (std::wstring(title) != L"KESTRIM Chromasift reorder colours")
                return TRUE;
            *reinterpret_cast<HWND*>(result) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

void CALLBACK RunNextStep(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = FindReorderDialog();
    // A modal dialog shows itself once its first messages are handled; steps act on what a person sees.
    if (dialog == nullptr || !IsWindowVisible(dialog) || nextStep >= script.size())
        return;
    script[nextStep++](dialog);
    if (nextStep == script.size())
        KillTimer(nullptr, timer);
}

// Entries told apart by their red channel, written as letters.
Palette LetterSwatches(const std::string& letters) {
    Palette list;
    for (char letter : letters) {
        PaletteEntry entry;
        entry.red = static_cast<std::uint16_t>(letter << 8);
        entry.green = 0x2000;
        list.push_back(entry);
    }
    return list;
}

std::string SpellSwatches(const Palette& list) {
    std::string letters;
    for (const PaletteEntry& entry : list)
        letters += static_cast<char>(entry.red >> 8);
    return letters;
}

// The swatch frame of the dialog in the dialog's client coordinates.
RECT Frame(HWND dialog) {
    HWND frame = GetDlgItem(dialog, IDC_SWATCH_FRAME);
    RECT rect;
    GetClientRect(frame, &rect);
    MapWindowPoints(frame, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The centre of cell i of a grid of n colours, in the dialog's client coordinates.
POINT CellCentre(HWND dialog, int n, int i) {
    const RECT frame = Frame(dialog);
    const int columns = std::min(n, 25);
    const int rows = (n + columns - 1) / columns;
    const int cellWidth = (frame.right - frame.left) / columns;
    const int cellHeight = (frame.bottom - frame.top) / rows;
    return {frame.left + (i % 25) * cellWidth + cellWidth / 2,
            frame.top + (i / 25) * cellHeight + cellHeight / 2};
}

LPARAM At(POINT point) {
    return MAKELPARAM(point.x, point.y);
}

// A mouse message at the centre of cell i of a grid of n colours, the left button down but on release.
Step Mouse(UINT message, int n, int cell) {
    return [=](HWND dialog) {
        PostMessageW(dialog, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON,
                     At(CellCentre(dialog, n, cell)));
    };
}
// A press or release left of the frame, still inside the dialog.
Step Outside(UINT message) {
    return [=](HWND dialog) {
        const RECT frame = Frame(dialog);
        PostMessageW(dialog, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON,
                     MAKELPARAM(frame.left - 4, frame.bottom - 4));
    };
}
Step Button(int id) {
    return [=](HWND dialog) { PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); };
}

class ReorderDialog : public ::testing::Test {
protected:
    void SetUp() override {
        GetCOREInterface()->SetQuietMode(TRUE);
        GetCOREInterface()->SetTime(0);
        host = CreateHostWindow(300, 200);
        ASSERT_NE(host, nullptr);
        GetCOREInterface()->SetMAXHWnd(host);
    }
    void TearDown() override {
        GetCOREInterface()->SetMAXHWnd(nullptr);
        DestroyWindow(host);
        GetCOREInterface()->SetQuietMode(FALSE);
    }

    static Step Press(int n, int cell) { return Mouse(WM_LBUTTONDOWN, n, cell); }
    static Step Release(int n, int cell) { return Mouse(WM_LBUTTONUP, n, cell); }

    // Runs `open`, which opens the dialog, with the steps taken in the dialog one a timer tick.
    void Drive(const std::function<void()>& open, std::vector<Step> steps) {
        script = std::move(steps);
        nextStep = 0;
        const UINT_PTR timer = SetTimer(nullptr, 0, 10, RunNextStep);
        open();
        KillTimer(nullptr, timer);
        EXPECT_EQ(theReorderState.dragSource, -1) << "OK and Cancel end a pending drag";
    }
    // Runs the dialog on the letters with the steps; returns the letters as the dialog leaves them, and
    // keeps whether it ended with OK.
    std::string Run(const std::string& letters, std::vector<Step> steps) {
        Palette working = LetterSwatches(letters);
        Drive([&] { accepted = RunReorderDialog(working); }, std::move(steps));
        EXPECT_EQ(nextStep, script.size()) << "the dialog ended before its script";
        return SpellSwatches(working);
    }

    HWND host = nullptr;
    bool accepted = false;
};

// How a move reorders the colours is the reorder's own test, a forward drag and OK the display test's; here
// where presses and releases take effect, and how the dialog ends.
TEST_F(ReorderDialog, PressesAndReleasesInTheFrameMoveAColour) {
    const std::string thirty = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcd"; // the second row: 25..29, then white
    const Step ok = Button(IDOK);
    const struct {
        std::string letters;
        std::vector<Step> steps;
        std::string expected;
        bool accepted;
    } rows[] = {
        // Two drags in a row, the second on the result of the first.
        {"ABCDE", {Press(5, 4), Release(5, 1), Press(5, 0), Release(5, 2), ok}, "EBACD", true},
        {thirty, {Press(30, 27), Release(30, 0), ok}, "bABCDEFGHIJKLMNOPQRSTUVWXYZacd", true},
        // Released on white or outside the frame, or pressed on white: nothing moves.
        {thirty, {Press(30, 1), Release(30, 31), ok}, thirty, true},
        {thirty, {Press(30, 1), Outside(WM_LBUTTONUP), ok}, thirty, true},
        {thirty, {Press(30, 40), Release(30, 3), ok}, thirty, true},
        // A press outside the frame leaves the pending drag as it was.
        {"ABCDE", {Press(5, 1), Outside(WM_LBUTTONDOWN), Release(5, 3), ok}, "ACDBE", true},
        {"ABCDE", {Outside(WM_LBUTTONDOWN), Release(5, 3), ok}, "ABCDE", true},
        // Each way out ends a pending drag; Cancel and Escape leave the new order unaccepted.
        {"ABCDE", {Press(5, 1), ok}, "ABCDE", true},
        {"ABCDE", {Press(5, 0), Release(5, 4), Press(5, 1), Button(IDCANCEL)}, "BCDEA", false},
        {"ABCDE",
         {Press(5, 0), Release(5, 4), Press(5, 1),
          [](HWND dialog) {
              PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
              PostMessageW(dialog, WM_KEYUP, VK_ESCAPE, 0);
          }},
         "BCDEA",
         false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "row " << &row - rows);
        EXPECT_EQ(Run(row.letters, row.steps), row.expected);
        EXPECT_EQ(accepted, row.accepted);
    }
}

// Where the preview stands during a drag is the redraw test's; here how the dialog sits among the windows.
TEST_F(ReorderDialog, IsASystemModalDialogOfTheMainWindowRegisteredWhileOpen) {
    bool registered = false;
    Run("ABCDE",
        {[&](HWND dialog) {
             const auto& open = GetCOREInterface()->RegisteredDialogs();
             registered = std::find(open.begin(), open.end(), dialog) != open.end();
             // Modal to the host's main window, which stays disabled behind it; a captioned system-modal
             // popup.
             EXPECT_EQ(GetWindow(dialog, GW_OWNER), host);
             EXPECT_FALSE(IsWindowEnabled(host));
             const LONG style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SYSMODAL;
             EXPECT_EQ(GetWindowLongW(dialog, GWL_STYLE) & (style | WS_CHILD), style);
         },
         Press(5, 1), [](HWND) { EXPECT_EQ(GetCapture(), nullptr) << "a drag does not capture the mouse"; },
         Release(5, 1), Button(IDOK)});
    EXPECT_TRUE(registered);
    EXPECT_TRUE(GetCOREInterface()->RegisteredDialogs().empty());
}

TEST_F(ReorderDialog, ADragRedrawsOnlyWhileTheButtonIsDown) {
    // Each step sends its message and looks at the window before any other message is handled: what shows
    // then was painted by the message itself.
    const Step drag = [](HWND dialog) {
        const auto send = [&](UINT message, WPARAM buttons, int cell) {
            SendMessageW(dialog, message, buttons, At(CellCentre(dialog, 5, cell)));
        };
        // What the dialog shows at the centre of a cell, read from its window as it is at that moment.
        const auto shown = [&](int cell) {
            HDC dc = GetDC(dialog);
            const COLORREF colour =
                GetPixel(dc, CellCentre(dialog, 5, cell).x, CellCentre(dialog, 5, cell).y);
            ReleaseDC(dialog, dc);
            return colour;
        };
        const auto letter = [](char name) { return RGB(name, 0x20, 0); };
        UpdateWindow(dialog);
        // The last preview stood over cell 3: a press that redrew would show it there again.
        const RECT frame = Frame(dialog);
        theReorderState.dragX = CellCentre(dialog, 5, 3).x - frame.left;
        theReorderState.dragY = CellCentre(dialog, 5, 3).y - frame.top;
        send(WM_LBUTTONDOWN, MK_LBUTTON, 0);
        EXPECT_EQ(shown(3), letter('D')) << "a press draws nothing";
        send(WM_MOUSEMOVE, MK_LBUTTON, 3);
        EXPECT_EQ(shown(3), letter('A')) << "the preview follows";
        // Without the left button a move neither moves the preview nor redraws.
        const int dragX = theReorderState.dragX;
        send(WM_MOUSEMOVE, 0, 1);
        EXPECT_EQ(theReorderState.dragX, dragX);
        EXPECT_EQ(shown(1), letter('B'));
        EXPECT_EQ(shown(3), letter('A'));
        // The release on cell 4 moves A there and the preview goes: B C D E A.
        send(WM_LBUTTONUP, 0, 4);
        EXPECT_EQ(shown(3), letter('E'));
        EXPECT_EQ(shown(4), letter('A'));
    };
    Run("ABCDE", {drag, Button(IDOK)});
}

// The rollout's "Manual" button on a map with its rollouts open, through the shared dialog procedure.
class ManualButton : public ReorderDialog {
protected:
    void SetUp() override {
        ReorderDialog::SetUp();
        rollouts = static_cast<IAutoMParamDlg*>(map->CreateParamDlg(nullptr, nullptr));
        ASSERT_NE(rollouts, nullptr);
        invalidations = GetChromasiftDesc()->GetParamMap(0)->InvalidationCount();
    }
    void TearDown() override {
        if (rollouts != nullptr)
            rollouts->DeleteThis();
        ReorderDialog::TearDown();
    }
    void Click(std::vector<Step> steps) {
        ParamMapSpec layout;
        layout.mapId = kParamsMapId;
        IParamMap2 paramMap(map->pblock, layout);
        theChromasiftDlgProc.SetMap(map.get());
        Drive(
            [&] {
                theChromasiftDlgProc.DlgProc(0, &paramMap, nullptr, WM_COMMAND,
                                             MAKEWPARAM(IDC_MANUAL_BUTTON, BN_CLICKED), 0);
            },
            std::move(steps));
    }
    // How often the open rollouts were told to show the map again since they opened.
    int Refreshes() const { return GetChromasiftDesc()->GetParamMap(0)->InvalidationCount() - invalidations; }

    MapPtr map = NewMap();
    IAutoMParamDlg* rollouts = nullptr;
    int invalidations = 0;
};

TEST_F(ManualButton, OkReordersTheFirstColoursKeepsTheRestAndShowsThem) {
    std::string forty;
    for (int i = 0; i < 40; ++i)
        forty += static_cast<char>('0' + i);
    map->SetPalette(LetterSwatches(forty));
    // "# colors" is read at the slider.
    KeyThreeTimes(*map->pblock, pb_num_colors, 20, 30, 35);
    const SliderAt slider;
    const Palette extracted = map->GetExtractedPalette();
    // OK changes the palette and nothing else.
    const auto parameters = [this] {
        std::vector<float> values;
        for (int i = 0; i < map->pblock->NumParams(); ++i) {
            const ParamID id = map->pblock->IndextoID(i);
            values.push_back(static_cast<float>(map->pblock->GetInt(id, kSliderTime)));
            values.push_back(map->pblock->GetFloat(id, kSliderTime));
        }
        return values;
    };
    const std::vector<float> before = parameters();
    Click({[](HWND) { EXPECT_EQ(theReorderState.count, 30); }, Press(30, 29), Release(30, 0), Button(IDOK)});
    EXPECT_EQ(nextStep, script.size());
    std::string expected = forty;
    expected.erase(29, 1);
    expected.insert(expected.begin(), forty[29]);
    EXPECT_EQ(SpellSwatches(*map->GetPalette()), expected);
    EXPECT_EQ(map->GetExtractedPalette(), extracted);
    EXPECT_EQ(parameters(), before);
    EXPECT_EQ(Refreshes(), 1);
}

TEST_F(ManualButton, CancelLeavesThePaletteAndAnEmptyPaletteOpensNothing) {
    map->SetPalette(LetterSwatches("ABCDEFG"));
    map->pblock->SetValue(pb_num_colors, 0, 30);
    Click({[](HWND) { EXPECT_EQ(theReorderState.count, 7) << "no more than the palette"; }, Press(7, 0),
           Release(7, 6), Button(IDCANCEL)});
    EXPECT_EQ(nextStep, script.size());
    EXPECT_EQ(SpellSwatches(*map->GetPalette()), "ABCDEFG");
    EXPECT_EQ(Refreshes(), 0) << "Cancel changes nothing to show";

    map->SetPalette(Palette{});
    Click({Button(IDOK)});
    EXPECT_EQ(nextStep, 0u);
    EXPECT_TRUE(map->GetPalette()->empty());
}

} // namespace
