// The custom controls driven the way a user drives them: mouse messages on the spinner, keystrokes in the
// edit, inside a dialog created from a real template.
#include "hostsdk/custom_controls.h"

#include "ui_test_resource_ids.h"
#include "ui_test_windows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Notice {
    UINT msg;
    int id;
    int flag; // HIWORD(wParam)
};

// What the dialog's parent received from its spinners.
std::vector<Notice> notices;

INT_PTR CALLBACK RecordingDlgProc(HWND, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
    case CC_SPINNER_CHANGE:
    case CC_SPINNER_BUTTONDOWN:
    case CC_SPINNER_BUTTONUP:
        notices.push_back({msg, LOWORD(wParam), HIWORD(wParam)});
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

// The test template's controls, with an integer spinner 1..100 (step 1) and a floating-point one 0.1..10
// (step 0.1), each linked to its edit.
class CustomControls : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(InitCustomControls());
        host = CreateHostWindow();
        ASSERT_NE(host, nullptr);
        const HWND dlg = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_TEST_PARAMS),
                                            host, RecordingDlgProc, 0);
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
        lowerHalf = client.bottom - 2;
        notices.clear();
    }
    void TearDown() override {
        if (host != nullptr)
            DestroyWindow(host);
    }

    static constexpr int kUpperHalf = 1;
    HWND host = nullptr;
    HWND countEdit = nullptr;
    HWND countSpin = nullptr;
    HWND gammaEdit = nullptr;
    HWND gammaSpin = nullptr;
    ISpinnerControl* count = nullptr;
    ISpinnerControl* gamma = nullptr;
    int lowerHalf = 0;
};

// Single steps up and down and drags are what the editor's display tests do to a spinner; here the order of
// the parent's messages and the limits.
TEST_F(CustomControls, AClickStepsOnceWithinTheLimitsAndTellsTheParent) {
    ClickAt(countSpin, 2, kUpperHalf);
    EXPECT_EQ(WindowText(countEdit), L"11");
    ASSERT_EQ(notices.size(), 3u);
    EXPECT_EQ(notices[0].msg, CC_SPINNER_BUTTONDOWN);
    EXPECT_EQ(notices[1].msg, CC_SPINNER_CHANGE);
    EXPECT_EQ(notices[1].id, IDC_COUNT_SPIN);
    EXPECT_EQ(notices[1].flag, FALSE) << "a click is a settled change";
    EXPECT_EQ(notices[2].msg, CC_SPINNER_BUTTONUP);
    EXPECT_EQ(notices[2].flag, TRUE);

    count->SetValue(99, FALSE);
    notices.clear();
    ClickAt(countSpin, 2, kUpperHalf);
    ClickAt(countSpin, 2, kUpperHalf);
    EXPECT_EQ(count->GetIVal(), 100);
    EXPECT_EQ(CountOf(CC_SPINNER_CHANGE), 1) << "no change message when the value stays at its limit";
    gamma->SetValue(0.2f, FALSE);
    ClickAt(gammaSpin, 2, lowerHalf);
    ClickAt(gammaSpin, 2, lowerHalf);
    EXPECT_FLOAT_EQ(gamma->GetFVal(), 0.1f);
    count->SetLimits(1, 50);
    EXPECT_EQ(count->GetIVal(), 50) << "new limits pull the value in";
}

TEST_F(CustomControls, TypedValuesGoToTheLinkedSpinner) {
    const struct {
        const wchar_t* typed;
        int value;
        const wchar_t* shown;
        int changes; // told to the parent
    } rows[] = {
        {L"42", 42, L"42", 1},
        {L"500", 100, L"100", 1}, // clamped
        {L"abc", 100, L"100", 0}, // no number: the field shows the value again
        {L"12.6", 13, L"13", 1},  // an integer spinner rounds typed fractions
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << std::wstring(row.typed));
        notices.clear();
        TypeAndEnter(countEdit, row.typed);
        EXPECT_EQ(count->GetIVal(), row.value);
        EXPECT_EQ(WindowText(countEdit), row.shown);
        ASSERT_EQ(CountOf(CC_SPINNER_CHANGE), row.changes);
        if (row.changes > 0) {
            EXPECT_EQ(notices.back().id, IDC_COUNT_SPIN);
            EXPECT_EQ(notices.back().flag, FALSE);
        }
    }

    // Leaving the field commits as Enter does.
    SendMessageW(gammaEdit, EM_SETSEL, 0, -1);
    SendMessageW(gammaEdit, WM_CHAR, L'3', 1);
    SendMessageW(gammaEdit, WM_KILLFOCUS, 0, 0);
    EXPECT_FLOAT_EQ(gamma->GetFVal(), 3.0f);
}

} // namespace
