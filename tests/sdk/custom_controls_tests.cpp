// The custom controls driven the way a user drives them: mouse messages on the spinner, keystrokes in the
// edit, clicks on the button, inside a dialog created from a real template.
#include "hostsdk/custom_controls.h"

#include "ui_test_resource_ids.h"
#include "ui_test_windows.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Notice {
    UINT msg;
    int id;
    int flag; // HIWORD(wParam)
};

// What the dialog's parent received from its controls.
std::vector<Notice> notices;

INT_PTR CALLBACK RecordingDlgProc(HWND, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
    case CC_SPINNER_CHANGE:
    case CC_SPINNER_BUTTONDOWN:
    case CC_SPINNER_BUTTONUP:
        notices.push_back({msg, LOWORD(wParam), HIWORD(wParam)});
        return TRUE;
    case WM_CUSTEDIT_ENTER:
        notices.push_back({msg, static_cast<int>(wParam), 0});
        return TRUE;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED)
            notices.push_back({msg, LOWORD(wParam), 0});
        return TRUE;
    default:
        return FALSE;
    }
}

int CountOf(UINT msg) {
    int count = 0;
    for (const Notice& notice : notices)
        count += notice.msg == msg ? 1 : 0;
    return count;
}

HWND CreateTestDialog(HWND host) {
    return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_TEST_PARAMS), host,
                              RecordingDlgProc, 0);
}

// The test template's controls, with an integer spinner 1..100 (step 1) and a floating-point one 0.1..10
// (step 0.1), each linked to its edit.
class CustomControls : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(InitCustomControls());
        host = CreateHostWindow();
        ASSERT_NE(host, nullptr);
        dlg = CreateTestDialog(host);
        ASSERT_NE(dlg, nullptr) << "the template's custom controls must be registered";
        countEdit = GetDlgItem(dlg, IDC_COUNT_EDIT);
        countSpin = GetDlgItem(dlg, IDC_COUNT_SPIN);
        gammaEdit = GetDlgItem(dlg, IDC_GAMMA_EDIT);
        gammaSpin = GetDlgItem(dlg, IDC_GAMMA_SPIN);
        count = GetISpinner(countSpin);
        gamma = GetISpinner(gammaSpin);
        ASSERT_NE(count, nullptr);
        ASSERT_NE(gamma, nullptr);
        count->LinkToEdit(countEdit, EDITTYPE_INT);
        count->SetLimits(1, 100);
        count->SetScale(1.0f);
        count->SetValue(10, FALSE);
        gamma->LinkToEdit(gammaEdit, EDITTYPE_FLOAT);
        gamma->SetLimits(0.1f, 10.0f);
        gamma->SetScale(0.1f);
        gamma->SetValue(1.0f, FALSE);
        RECT client;
        GetClientRect(countSpin, &client);
        spinHeight = client.bottom;
        notices.clear();
    }
    void TearDown() override {
        if (host != nullptr)
            DestroyWindow(host);
    }

    int UpperHalf() const { return 1; }
    int LowerHalf() const { return spinHeight - 2; }

    HWND host = nullptr;
    HWND dlg = nullptr;
    HWND countEdit = nullptr;
    HWND countSpin = nullptr;
    HWND gammaEdit = nullptr;
    HWND gammaSpin = nullptr;
    ISpinnerControl* count = nullptr;
    ISpinnerControl* gamma = nullptr;
    int spinHeight = 0;
};

TEST_F(CustomControls, ClickingAHalfStepsOnceAndTellsTheParent) {
    ASSERT_GE(spinHeight, 4);
    EXPECT_EQ(WindowText(countEdit), L"10") << "linking shows the value";

    ClickAt(countSpin, 2, UpperHalf());
    EXPECT_EQ(count->GetIVal(), 11);
    EXPECT_EQ(WindowText(countEdit), L"11");
    ASSERT_EQ(notices.size(), 3u);
    EXPECT_EQ(notices[0].msg, CC_SPINNER_BUTTONDOWN);
    EXPECT_EQ(notices[1].msg, CC_SPINNER_CHANGE);
    EXPECT_EQ(notices[1].id, IDC_COUNT_SPIN);
    EXPECT_EQ(notices[1].flag, FALSE) << "a click is a settled change";
    EXPECT_EQ(notices[2].msg, CC_SPINNER_BUTTONUP);
    EXPECT_EQ(notices[2].flag, TRUE);

    ClickAt(countSpin, 2, LowerHalf());
    ClickAt(countSpin, 2, LowerHalf());
    EXPECT_EQ(count->GetIVal(), 9);

    ClickAt(gammaSpin, 2, UpperHalf());
    EXPECT_FLOAT_EQ(gamma->GetFVal(), 1.1f);
    EXPECT_EQ(WindowText(gammaEdit), L"1.1");
    EXPECT_EQ(notices.back().msg, CC_SPINNER_BUTTONUP);
    EXPECT_EQ(notices[notices.size() - 2].id, IDC_GAMMA_SPIN);
}

TEST_F(CustomControls, ClicksStopAtTheLimits) {
    count->SetValue(99, FALSE);
    notices.clear();
    ClickAt(countSpin, 2, UpperHalf());
    ClickAt(countSpin, 2, UpperHalf());
    EXPECT_EQ(count->GetIVal(), 100);
    EXPECT_EQ(CountOf(CC_SPINNER_CHANGE), 1) << "no change message when the value stays at its limit";

    gamma->SetValue(0.2f, FALSE);
    ClickAt(gammaSpin, 2, LowerHalf());
    ClickAt(gammaSpin, 2, LowerHalf());
    EXPECT_FLOAT_EQ(gamma->GetFVal(), 0.1f);

    count->SetValue(500, FALSE);
    EXPECT_EQ(count->GetIVal(), 100) << "SetValue clamps too";
    count->SetLimits(1, 50);
    EXPECT_EQ(count->GetIVal(), 50) << "new limits pull the value in";
}

TEST_F(CustomControls, DraggingChangesOneStepPerPixelWhileHeld) {
    const int y = UpperHalf();
    PressLeft(countSpin, 2, y);
    EXPECT_EQ(GetCapture(), countSpin);
    MoveMouse(countSpin, 2, y - 1);
    EXPECT_EQ(count->GetIVal(), 10) << "a pixel of jitter is still a click";
    MoveMouse(countSpin, 2, y - 12);
    EXPECT_EQ(count->GetIVal(), 22);
    MoveMouse(countSpin, 2, y - 5);
    EXPECT_EQ(count->GetIVal(), 15) << "moving back down lowers the value again";
    ASSERT_GE(CountOf(CC_SPINNER_CHANGE), 2);
    for (const Notice& notice : notices)
        if (notice.msg == CC_SPINNER_CHANGE) {
            EXPECT_EQ(notice.id, IDC_COUNT_SPIN);
            EXPECT_EQ(notice.flag, TRUE) << "HIWORD is TRUE while dragging";
        }
    EXPECT_EQ(WindowText(countEdit), L"15");
    ReleaseLeft(countSpin, 2, y - 5);
    EXPECT_EQ(count->GetIVal(), 15) << "releasing after a drag adds no click step";
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(notices.back().msg, CC_SPINNER_BUTTONUP);

    // Far beyond the range: held at the limits.
    PressLeft(countSpin, 2, y);
    MoveMouse(countSpin, 2, y - 1000);
    EXPECT_EQ(count->GetIVal(), 100);
    MoveMouse(countSpin, 2, y + 1000);
    EXPECT_EQ(count->GetIVal(), 1);
    ReleaseLeft(countSpin, 2, y + 1000);

    gamma->SetValue(1.0f, FALSE);
    PressLeft(gammaSpin, 2, y);
    MoveMouse(gammaSpin, 2, y - 5);
    ReleaseLeft(gammaSpin, 2, y - 5);
    EXPECT_FLOAT_EQ(gamma->GetFVal(), 1.5f);
    EXPECT_EQ(WindowText(gammaEdit), L"1.5");
}

TEST_F(CustomControls, HoldingAHalfRepeatsTheStep) {
    // The repeat timer's ticks, delivered at once instead of waiting for them.
    constexpr WPARAM kRepeatTimer = 1;
    PressLeft(countSpin, 2, LowerHalf());
    SendMessageW(countSpin, WM_TIMER, kRepeatTimer, 0);
    SendMessageW(countSpin, WM_TIMER, kRepeatTimer, 0);
    EXPECT_EQ(count->GetIVal(), 8);
    ASSERT_EQ(CountOf(CC_SPINNER_CHANGE), 2);
    EXPECT_EQ(notices.back().flag, TRUE) << "repeating changes come while the button is held";
    ReleaseLeft(countSpin, 2, LowerHalf());
    EXPECT_EQ(count->GetIVal(), 8) << "the release adds no step of its own";
    SendMessageW(countSpin, WM_TIMER, kRepeatTimer, 0);
    EXPECT_EQ(count->GetIVal(), 8) << "a late tick after the release changes nothing";
}

TEST_F(CustomControls, RightClickCancelsADragAndResetsAnIdleSpinner) {
    PressLeft(countSpin, 2, UpperHalf());
    MoveMouse(countSpin, 2, UpperHalf() - 20);
    EXPECT_EQ(count->GetIVal(), 30);
    PressRight(countSpin, 2, UpperHalf() - 20);
    EXPECT_EQ(count->GetIVal(), 10) << "the drag is undone";
    EXPECT_EQ(GetCapture(), nullptr);
    ASSERT_GE(notices.size(), 2u);
    EXPECT_EQ(notices[notices.size() - 2].msg, CC_SPINNER_CHANGE);
    EXPECT_EQ(notices[notices.size() - 2].flag, FALSE);
    EXPECT_EQ(notices.back().msg, CC_SPINNER_BUTTONUP);
    EXPECT_EQ(notices.back().flag, FALSE) << "a cancelled drag ends with HIWORD FALSE";

    count->SetResetValue(42);
    PressRight(countSpin, 2, UpperHalf());
    EXPECT_EQ(count->GetIVal(), 42);
}

TEST_F(CustomControls, TypedValuesGoToTheLinkedSpinner) {
    TypeAndEnter(countEdit, L"42");
    EXPECT_EQ(count->GetIVal(), 42);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].msg, CC_SPINNER_CHANGE);
    EXPECT_EQ(notices[0].id, IDC_COUNT_SPIN);
    EXPECT_EQ(notices[0].flag, FALSE);

    TypeAndEnter(countEdit, L"500");
    EXPECT_EQ(count->GetIVal(), 100);
    EXPECT_EQ(WindowText(countEdit), L"100") << "the field shows the clamped value";

    notices.clear();
    TypeAndEnter(countEdit, L"abc");
    EXPECT_EQ(count->GetIVal(), 100);
    EXPECT_EQ(WindowText(countEdit), L"100") << "text that is no number is replaced by the value";
    EXPECT_TRUE(notices.empty());

    TypeAndEnter(gammaEdit, L"2.25");
    EXPECT_FLOAT_EQ(gamma->GetFVal(), 2.25f);
    TypeAndEnter(countEdit, L"12.6");
    EXPECT_EQ(count->GetIVal(), 13) << "an integer spinner rounds typed fractions";

    // Leaving the field commits as Enter does.
    SendMessageW(gammaEdit, EM_SETSEL, 0, -1);
    for (wchar_t c : std::wstring(L"3"))
        SendMessageW(gammaEdit, WM_CHAR, c, 1);
    SendMessageW(gammaEdit, WM_KILLFOCUS, 0, 0);
    EXPECT_FLOAT_EQ(gamma->GetFVal(), 3.0f);
}

TEST_F(CustomControls, EditAndButtonInterfaces) {
    ICustEdit* edit = GetICustEdit(countEdit);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(GetICustEdit(countSpin), nullptr) << "a spinner is no edit";
    EXPECT_EQ(GetISpinner(countEdit), nullptr);
    EXPECT_EQ(GetISpinner(host), nullptr) << "nor is a window of another class";

    count->LinkToEdit(nullptr, EDITTYPE_INT); // the edit now stands alone
    edit->SetText(L" 17 ");
    BOOL valid = FALSE;
    EXPECT_EQ(edit->GetInt(&valid), 17);
    EXPECT_TRUE(valid);
    edit->SetText(L"1.5x");
    edit->GetFloat(&valid);
    EXPECT_FALSE(valid);
    edit->SetText(2.5f, 2);
    MSTR text;
    edit->GetText(text);
    EXPECT_EQ(text, L"2.50");
    edit->WantReturn(TRUE);
    TypeAndEnter(countEdit, L"8");
    EXPECT_TRUE(edit->GotReturn());
    EXPECT_FALSE(edit->GotReturn()) << "reading the return clears it";
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].msg, WM_CUSTEDIT_ENTER);
    EXPECT_EQ(notices[0].id, IDC_COUNT_EDIT);
    EXPECT_EQ(count->GetIVal(), 10) << "an unlinked edit changes no spinner";

    ICustButton* button = GetICustButton(GetDlgItem(dlg, IDC_MAP_BUTTON));
    ASSERT_NE(button, nullptr);
    button->SetText(L"Map #1");
    button->GetText(text);
    EXPECT_EQ(text, L"Map #1");
    notices.clear();
    SendMessageW(button->GetHwnd(), BM_CLICK, 0, 0);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].id, IDC_MAP_BUTTON);
    EXPECT_FALSE(button->IsChecked()) << "a push button does not stay pressed";
    button->SetType(CBT_CHECK);
    SendMessageW(button->GetHwnd(), BM_CLICK, 0, 0);
    EXPECT_TRUE(button->IsChecked());
    SendMessageW(button->GetHwnd(), BM_CLICK, 0, 0);
    EXPECT_FALSE(button->IsChecked());
}

TEST(CustomControlClasses, TemplatesNamingThemNeedThemRegistered) {
    UnregisterCustomControls();
    const HWND host = CreateHostWindow();
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(CreateTestDialog(host), nullptr) << "without the classes the dialog cannot be created";
    EXPECT_TRUE(InitCustomControls());
    EXPECT_TRUE(InitCustomControls()) << "registering twice is harmless";
    const HWND dlg = CreateTestDialog(host);
    EXPECT_NE(dlg, nullptr);
    EXPECT_NE(GetISpinner(GetDlgItem(dlg, IDC_COUNT_SPIN)), nullptr);
    DestroyWindow(host);
}

} // namespace
