// A text static made a hyperlink on real windows (Windows build, under Wine): the subclassing of the
// static and its parent, the hand cursor, the underline while hovered, the link colour, the click and the
// clean-up when the windows are destroyed. The windows' own procedures record what they see.
#include "ui/hyperlink.h"

#include "ui_test_windows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

constexpr int kLinkId = 1044;

// What the windows' previous procedures saw. The states are taken when WM_DESTROY reaches them, that is
// after the link has undone its part.
struct Seen {
    std::vector<UINT> staticMessages;
    LONG_PTR staticProcAtDestroy = 0;
    bool staticPropsAtDestroy = true;
    HFONT staticFontAtDestroy = nullptr;
    LONG_PTR parentProcAtDestroy = 0;
    HANDLE parentPropAtDestroy = nullptr;
};
Seen seen;
WNDPROC systemStaticProc = nullptr;

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        seen.parentProcAtDestroy = GetWindowLongPtrW(window, GWLP_WNDPROC);
        seen.parentPropAtDestroy = GetPropW(window, kHyperlinkOriginalProc);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK StaticRecorder(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    seen.staticMessages.push_back(message);
    if (message == WM_DESTROY) {
        seen.staticProcAtDestroy = GetWindowLongPtrW(window, GWLP_WNDPROC);
        seen.staticPropsAtDestroy = GetPropW(window, kHyperlinkOriginalProc) != nullptr ||
                                    GetPropW(window, kHyperlinkOriginalFont) != nullptr ||
                                    GetPropW(window, kHyperlinkUnderlineFont) != nullptr ||
                                    GetPropW(window, kHyperlinkFromStatic) != nullptr;
        seen.staticFontAtDestroy =
            reinterpret_cast<HFONT>(CallWindowProcW(systemStaticProc, window, WM_GETFONT, 0, 0));
    }
    return CallWindowProcW(systemStaticProc, window, message, wParam, lParam);
}

LOGFONTW Describe(HFONT font) {
    LOGFONTW description{};
    EXPECT_NE(GetObjectW(font, sizeof description, &description), 0);
    return description;
}

class Hyperlink : public ::testing::Test {
protected:
    void SetUp() override {
        seen = {};
        // The parent's previous procedure records what reaches it.
        parent = CreateHostWindow(300, 200);
        ASSERT_NE(parent, nullptr);
        SetWindowLongPtrW(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ParentProc));
        font =
            CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
        link = NewStatic(kLinkId, 10);
        plain = NewStatic(1, 40);
        // The link's previous procedure records what reaches it.
        systemStaticProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(link, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StaticRecorder)));
        ASSERT_EQ(MakeHyperlinkStatic(link), TRUE);
    }
    void TearDown() override {
        if (parent != nullptr)
            DestroyWindow(parent);
        DeleteObject(font);
        ReleaseCapture();
    }

    HWND NewStatic(int id, int y) {
        HWND window = CreateWindowExW(
            0, L"STATIC", L"Go to online documentation", WS_CHILD | WS_VISIBLE | SS_LEFT, 10, y, 150, 16,
            parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
        EXPECT_NE(window, nullptr);
        SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        return window;
    }
    HFONT FontOf(HWND window) { return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)); }

    HWND parent = nullptr;
    HWND link = nullptr;
    HWND plain = nullptr;
    HFONT font = nullptr;
};

TEST_F(Hyperlink, SubclassesTheStaticAndItsParentOnce) {
    // A second link on the same parent must not save the parent's link procedure as the previous one.
    ASSERT_EQ(MakeHyperlinkStatic(plain), TRUE);
    EXPECT_EQ(GetWindowLongPtrW(link, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&HyperlinkStaticProc));
    EXPECT_EQ(GetWindowLongPtrW(parent, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&HyperlinkParentProc));
    EXPECT_EQ(GetPropW(parent, kHyperlinkOriginalProc), reinterpret_cast<HANDLE>(&ParentProc));
    EXPECT_EQ(GetPropW(link, kHyperlinkOriginalProc), reinterpret_cast<HANDLE>(&StaticRecorder));
    EXPECT_NE(GetWindowLongPtrW(link, GWL_STYLE) & SS_NOTIFY, 0);
    EXPECT_EQ(GetPropW(link, kHyperlinkFromStatic), reinterpret_cast<HANDLE>(1));
    EXPECT_EQ(GetPropW(link, kHyperlinkOriginalFont), font);

    const auto underlined = static_cast<HFONT>(GetPropW(link, kHyperlinkUnderlineFont));
    ASSERT_NE(underlined, nullptr);
    const LOGFONTW copy = Describe(underlined);
    const LOGFONTW original = Describe(font);
    EXPECT_TRUE(copy.lfUnderline);
    EXPECT_FALSE(original.lfUnderline);
    EXPECT_EQ(copy.lfHeight, original.lfHeight);
    EXPECT_STREQ(copy.lfFaceName, original.lfFaceName);
}

TEST_F(Hyperlink, ShowsTheHandAndUnderlinesWhileTheMouseIsOnIt) {
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_EQ(
        SendMessageW(link, WM_SETCURSOR, reinterpret_cast<WPARAM>(link), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
        TRUE);
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
    // A system without the hand shows the arrow.
    const auto noHand = [](HINSTANCE module, LPCWSTR name) -> HCURSOR {
        return name == IDC_HAND ? nullptr : LoadCursorW(module, name);
    };
    EXPECT_EQ(HyperlinkCursor(noHand), LoadCursorW(nullptr, IDC_ARROW));

    // Each font swap waits for a repaint that does not erase the background first.
    UpdateWindow(parent);
    UpdateWindow(link);
    const struct {
        int x, y;
        bool inside, repainted;
    } moves[] = {
        {5, 5, true, true},     // entering underlines
        {140, 10, true, false}, // moving inside changes nothing
        {160, 5, false, true},  // beyond the right edge
        {5, -3, true, true},    // entering again, from above
    };
    for (const auto& move : moves) {
        SCOPED_TRACE(testing::Message() << move.x << ", " << move.y);
        MoveMouse(link, move.x, move.y);
        EXPECT_EQ(Describe(FontOf(link)).lfUnderline != 0, move.inside);
        EXPECT_EQ(FontOf(link) == font, !move.inside);
        EXPECT_EQ(GetCapture() == link, move.inside);
        EXPECT_EQ(GetUpdateRect(link, nullptr, FALSE) != FALSE, move.repainted);
        const std::size_t before = seen.staticMessages.size();
        UpdateWindow(link);
        EXPECT_EQ(std::count(seen.staticMessages.begin() + static_cast<std::ptrdiff_t>(before),
                             seen.staticMessages.end(), WM_ERASEBKGND),
                  0);
    }
    // The cursor is the link's own answer; every mouse move reaches the static's previous procedure.
    EXPECT_EQ(std::count(seen.staticMessages.begin(), seen.staticMessages.end(), WM_SETCURSOR), 0);
    EXPECT_EQ(std::count(seen.staticMessages.begin(), seen.staticMessages.end(), WM_MOUSEMOVE), 4);
}

TEST_F(Hyperlink, ParentColoursOnlyLinkTextAndKeepsItsBrush) {
    HDC dc = CreateCompatibleDC(nullptr);
    SetTextColor(dc, RGB(1, 2, 3));
    const LRESULT plainBrush = SendMessageW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                            reinterpret_cast<LPARAM>(plain));
    EXPECT_NE(GetTextColor(dc), kHyperlinkColour);
    const LRESULT linkBrush =
        SendMessageW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(link));
    EXPECT_EQ(GetTextColor(dc), COLORREF{0xC00000});
    EXPECT_EQ(linkBrush, plainBrush);
    DeleteDC(dc);
}

TEST_F(Hyperlink, DestroyingTheWindowsUndoesTheLink) {
    MoveMouse(link, 5, 5); // hovered: the underlined font is in use
    const auto underlined = static_cast<HFONT>(GetPropW(link, kHyperlinkUnderlineFont));
    ASSERT_NE(underlined, nullptr);
    DestroyWindow(parent);
    parent = nullptr;

    EXPECT_EQ(seen.parentProcAtDestroy, reinterpret_cast<LONG_PTR>(&ParentProc));
    EXPECT_EQ(seen.parentPropAtDestroy, nullptr);
    EXPECT_EQ(seen.staticProcAtDestroy, reinterpret_cast<LONG_PTR>(&StaticRecorder));
    EXPECT_FALSE(seen.staticPropsAtDestroy);
    EXPECT_EQ(seen.staticFontAtDestroy, font);
    LOGFONTW description;
    EXPECT_EQ(GetObjectW(underlined, sizeof description, &description), 0)
        << "the underlined font is deleted";
}

} // namespace
