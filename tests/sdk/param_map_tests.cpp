// Parameter maps in a rollup window: rollouts created by the class descriptor from its p_ui tables, each
// bound control driven as a user would and checked against the block, and the user procedure's view.
#include "hostsdk/bitmap.h"
#include "hostsdk/class_desc.h"
#include "hostsdk/core_interface.h"
#include "hostsdk/file_chooser.h"
#include "hostsdk/param_block.h"
#include "hostsdk/rollup_window.h"
#include "hostsdk/tex_gen.h"

#include "block_owner.h"
#include "test_files.h"
#include "ui_test_resource_ids.h"
#include "ui_test_windows.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

enum : ParamID { pb_count, pb_gamma, pb_enabled, pb_fruit, pb_map, pb_bitmap, pb_hidden };
constexpr MapID kParamsMap = 0;
constexpr MapID kSecondMap = 1;

// Records every message the user procedure sees, with the block's values at that moment.
class RecordingProc : public ParamMap2UserDlgProc {
public:
    struct Call {
        TimeValue t;
        IParamMap2* map;
        HWND dlg;
        UINT msg;
        WPARAM wParam;
        int count, fruit, enabled;
        std::wstring countEditText;
    };

    INT_PTR DlgProc(TimeValue t, IParamMap2* map, HWND dlg, UINT msg, WPARAM wParam, LPARAM) override {
        IParamBlock2* block = map->GetParamBlock();
        calls.push_back({t, map, dlg, msg, wParam, block->GetInt(pb_count), block->GetInt(pb_fruit),
                         block->GetInt(pb_enabled), WindowText(GetDlgItem(dlg, IDC_COUNT_EDIT))});
        return FALSE;
    }
    void DeleteThis() override {}
    void SetThing(ReferenceTarget* newThing) override { thing = newThing; }
    void Update(TimeValue) override { ++updates; }

    // The last call with this message (and command or spinner ID, when given); null when none.
    const Call* Last(UINT msg, int id = -1) const {
        for (auto it = calls.rbegin(); it != calls.rend(); ++it)
            if (it->msg == msg && (id < 0 || LOWORD(it->wParam) == id))
                return &*it;
        return nullptr;
    }

    std::vector<Call> calls;
    ReferenceTarget* thing = nullptr;
    int updates = 0;
};

class TestClassDesc : public ClassDesc2 {
public:
    int IsPublic() override { return 1; }
    void* Create(BOOL) override { return nullptr; }
    const MCHAR* ClassName() override { return L"UI test"; }
    SClass_ID SuperClassID() override { return TEXMAP_CLASS_ID; }
    Class_ID ClassID() override { return Class_ID(0x5d1e0001, 0x5d1e0002); }
    const MCHAR* Category() override { return L""; }
    // The templates and strings are the test program's own resources.
    HINSTANCE HInstance() override { return GetModuleHandleW(nullptr); }
};

// A block with one parameter of every bound kind on the parameters rollout, and a second rollout.
std::unique_ptr<ParamBlockDesc2> MakeDesc(TestClassDesc* cd, RecordingProc* proc, int paramsTemplate,
                                          int secondTemplate) {
    auto desc = std::make_unique<ParamBlockDesc2>(
        // clang-format off
        0, L"TestParams", IDS_TITLE_PARAMS, nullptr, P_AUTO_CONSTRUCT | P_AUTO_UI | P_MULTIMAP, 0,
        2,
        kParamsMap, paramsTemplate, IDS_TITLE_PARAMS, 0, 0, static_cast<ParamMap2UserDlgProc*>(proc),
        kSecondMap, secondTemplate, IDS_TITLE_SECOND, 0, 0, static_cast<ParamMap2UserDlgProc*>(proc),
        pb_count, L"count", TYPE_INT, P_ANIMATABLE, 0, p_default, 10, p_range, 1, 100,
            p_ui, kParamsMap, TYPE_SPINNER, EDITTYPE_INT, IDC_COUNT_EDIT, IDC_COUNT_SPIN, 1.0, p_end,
        pb_gamma, L"gamma", TYPE_FLOAT, P_ANIMATABLE, 0, p_default, 1.0, p_range, 0.1, 10.0,
            p_ui, kParamsMap, TYPE_SPINNER, EDITTYPE_FLOAT, IDC_GAMMA_EDIT, IDC_GAMMA_SPIN,
            static_cast<double>(0.1f), p_end,
        pb_enabled, L"enabled", TYPE_BOOL, 0, 0, p_default, 0,
            p_ui, kParamsMap, TYPE_SINGLECHECKBOX, IDC_ENABLED, p_end,
        pb_fruit, L"fruit", TYPE_INT, 0, 0, p_default, 20,
            p_ui, kParamsMap, TYPE_INT_COMBOBOX, IDC_FRUIT, 3, IDS_ITEM_ZEBRA, IDS_ITEM_APPLE, IDS_ITEM_MANGO,
            p_vals, 10, 20, 30, p_end,
        pb_map, L"map", TYPE_TEXMAP, 0, 0, p_ui, kParamsMap, TYPE_TEXMAPBUTTON, IDC_MAP_BUTTON, p_end,
        pb_bitmap, L"bitmap", TYPE_BITMAP, 0, 0, p_ui, kParamsMap, TYPE_BITMAPBUTTON, IDC_BITMAP_BUTTON, p_end,
        pb_hidden, L"hidden", TYPE_INT, 0, 0, p_end,
        p_end
        // clang-format on
    );
    desc->SetClassDesc(cd);
    return desc;
}

// A host editor window with a rollup window inside, and an object whose block the rollouts show.
class ParamMapRollouts : public ::testing::Test {
protected:
    void SetUp() override { Build(IDD_TEST_PARAMS, IDD_TEST_SECOND); }
    void TearDown() override {
        if (dlg != nullptr)
            dlg->DeleteThis();
        if (host != nullptr)
            DestroyWindow(host);
        owner.DeleteAllRefs();
        GetCOREInterface()->SetTime(0);
    }

    void Build(int paramsTemplate, int secondTemplate) {
        ASSERT_TRUE(InitCustomControls());
        desc = MakeDesc(&cd, &proc, paramsTemplate, secondTemplate);
        cd.MakeAutoParamBlocks(&owner);
        block = owner.Block();
        ASSERT_NE(block, nullptr);
        host = CreateHostWindow();
        rollupWindow = CreateWindowExW(0, ROLLUPWINDOWCLASS, L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 0, 0,
                                       380, 460, host, nullptr, nullptr, nullptr);
        ASSERT_NE(rollupWindow, nullptr);
        rollup = GetIRollup(rollupWindow);
        ASSERT_NE(rollup, nullptr);
        params = std::make_unique<RollupMtlParams>(rollupWindow);
    }

    void Open() {
        dlg = cd.CreateParamDlgs(host, params.get(), &owner);
        ASSERT_NE(dlg, nullptr);
        ASSERT_EQ(dlg->NumMaps(), 2);
        rollout = dlg->GetMap(0)->GetHWnd();
        ASSERT_NE(rollout, nullptr);
    }

    HWND Item(int id) const { return GetDlgItem(rollout, id); }

    TestClassDesc cd;
    RecordingProc proc;
    std::unique_ptr<ParamBlockDesc2> desc;
    BlockOwner owner;
    IParamBlock2* block = nullptr;
    HWND host = nullptr;
    HWND rollupWindow = nullptr;
    IRollupWindow* rollup = nullptr;
    std::unique_ptr<RollupMtlParams> params;
    IAutoMParamDlg* dlg = nullptr;
    HWND rollout = nullptr;
};

TEST_F(ParamMapRollouts, RolloutsStackInTheRollupUnderTheirTitlesAndAreInitialised) {
    Open();
    ASSERT_EQ(rollup->GetNumPanels(), 2);
    EXPECT_EQ(rollup->GetPanelDlg(0), dlg->GetMap(0)->GetHWnd());
    EXPECT_EQ(rollup->GetPanelDlg(1), dlg->GetMap(1)->GetHWnd());
    EXPECT_EQ(rollup->GetPanelTitle(0), L"Test parameters") << "the title comes from the string table";
    EXPECT_EQ(rollup->GetPanelTitle(1), L"Second rollout");

    // Title, dialog, title, dialog, from the top down.
    RECT first, second;
    GetWindowRect(rollup->GetPanelDlg(0), &first);
    GetWindowRect(rollup->GetPanelDlg(1), &second);
    MapWindowPoints(nullptr, rollupWindow, reinterpret_cast<POINT*>(&first), 2);
    MapWindowPoints(nullptr, rollupWindow, reinterpret_cast<POINT*>(&second), 2);
    const RECT firstTitle = rollup->GetPanelTitleRect(0);
    const RECT secondTitle = rollup->GetPanelTitleRect(1);
    EXPECT_LE(firstTitle.bottom, first.top);
    EXPECT_LE(first.bottom, secondTitle.top);
    EXPECT_LE(secondTitle.bottom, second.top);

    // Clicking a title closes its rollout and moves the next one up.
    SendMessageW(
        rollupWindow, WM_LBUTTONDOWN, MK_LBUTTON,
        MAKELPARAM((firstTitle.left + firstTitle.right) / 2, (firstTitle.top + firstTitle.bottom) / 2));
    EXPECT_FALSE(rollup->IsPanelOpen(0));
    EXPECT_FALSE(IsWindowVisible(rollup->GetPanelDlg(0)));
    EXPECT_LT(rollup->GetPanelTitleRect(1).top, secondTitle.top);
    rollup->SetPanelOpen(0, TRUE);
    EXPECT_TRUE(IsWindowVisible(rollup->GetPanelDlg(0)));

    // The user procedure learns its object before the rollouts open, and sees each rollout initialised.
    EXPECT_EQ(proc.thing, &owner);
    std::vector<const RecordingProc::Call*> inits;
    for (const RecordingProc::Call& call : proc.calls)
        if (call.msg == WM_INITDIALOG)
            inits.push_back(&call);
    ASSERT_EQ(inits.size(), 2u) << "one per rollout";
    EXPECT_EQ(inits[0]->map, dlg->GetMap(0));
    EXPECT_EQ(inits[0]->countEditText, L"10") << "bound controls are filled before the user procedure runs";
    EXPECT_EQ(inits[0]->map->GetHWnd(), inits[0]->dlg);
    // An unbound control's command still reaches the user procedure, with the host's current time.
    GetCOREInterface()->SetTime(4800);
    SendMessageW(Item(IDC_OTHER), BM_CLICK, 0, 0);
    ASSERT_NE(proc.Last(WM_COMMAND, IDC_OTHER), nullptr);
    EXPECT_EQ(proc.Last(WM_COMMAND, IDC_OTHER)->t, 4800);
    EXPECT_EQ(proc.Last(WM_COMMAND, IDC_OTHER)->map, dlg->GetMap(0));
}

// The display tests drag a spinner and step it with its arrows; here typed values, the limits and the
// descriptor's step and range, each change stored before the user procedure is told of it once.
TEST_F(ParamMapRollouts, SpinnersStoreStepsAndTypedValuesWithinTheDeclaredRange) {
    Open();
    const struct {
        int control; // an edit typed into, or a spinner clicked in its upper (+) or lower (-) half
        const wchar_t* input;
        float value;
        const wchar_t* shown;
        int changes;
    } rows[] = {
        {IDC_GAMMA_SPIN, L"-", 0.9f, L"0.9", 1},    // the float step is the descriptor's 0.1
        {IDC_GAMMA_EDIT, L"0.01", 0.1f, L"0.1", 1}, // held at the range's lower end
        {IDC_GAMMA_SPIN, L"-", 0.1f, L"0.1", 0},    // no change at the limit
        {IDC_COUNT_EDIT, L"42", 42, L"42", 1},
        {IDC_COUNT_EDIT, L"500", 100, L"100", 1},
        {IDC_COUNT_SPIN, L"+", 100, L"100", 0},
        {IDC_COUNT_EDIT, L"abc", 100, L"100", 0}, // no number: the field shows the value again
        {IDC_COUNT_EDIT, L"12.6", 13, L"13", 1},  // an integer spinner rounds typed fractions
        {IDC_COUNT_SPIN, L"+", 14, L"14", 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.control << " " << std::wstring(row.input));
        const bool gamma = row.control == IDC_GAMMA_EDIT || row.control == IDC_GAMMA_SPIN;
        const std::size_t before = proc.calls.size();
        if (row.control == IDC_GAMMA_SPIN || row.control == IDC_COUNT_SPIN) {
            RECT client;
            GetClientRect(Item(row.control), &client);
            ClickAt(Item(row.control), 2, row.input[0] == L'+' ? 1 : client.bottom - 2);
        } else {
            TypeAndEnter(Item(row.control), row.input);
        }
        EXPECT_FLOAT_EQ(gamma ? block->GetFloat(pb_gamma) : static_cast<float>(block->GetInt(pb_count)),
                        row.value);
        EXPECT_EQ(WindowText(Item(gamma ? IDC_GAMMA_EDIT : IDC_COUNT_EDIT)), row.shown);
        std::vector<const RecordingProc::Call*> changes;
        for (std::size_t i = before; i < proc.calls.size(); ++i)
            if (proc.calls[i].msg == CC_SPINNER_CHANGE)
                changes.push_back(&proc.calls[i]);
        ASSERT_EQ(changes.size(), static_cast<std::size_t>(row.changes));
        if (!changes.empty()) {
            EXPECT_EQ(changes[0]->wParam, static_cast<WPARAM>(gamma ? IDC_GAMMA_SPIN : IDC_COUNT_SPIN))
                << "settled";
            EXPECT_TRUE(gamma || static_cast<float>(changes[0]->count) == row.value)
                << "stored before it is told";
        }
    }
    // A click tells the press, the settled change and the release, with the spinner's ID.
    std::vector<std::pair<UINT, WPARAM>> told;
    proc.calls.clear();
    ClickAt(Item(IDC_COUNT_SPIN), 2, 1);
    for (const RecordingProc::Call& call : proc.calls)
        if (call.msg >= CC_SPINNER_CHANGE && call.msg <= CC_SPINNER_BUTTONUP)
            told.emplace_back(call.msg, call.wParam);
    EXPECT_EQ(told, (std::vector<std::pair<UINT, WPARAM>>{
                        {CC_SPINNER_BUTTONDOWN, IDC_COUNT_SPIN},
                        {CC_SPINNER_CHANGE, IDC_COUNT_SPIN},
                        {CC_SPINNER_BUTTONUP, MAKEWPARAM(IDC_COUNT_SPIN, TRUE)}}));
    // Leaving the field commits as Enter does; new limits pull the value in.
    SendMessageW(Item(IDC_GAMMA_EDIT), EM_SETSEL, 0, -1);
    SendMessageW(Item(IDC_GAMMA_EDIT), WM_CHAR, L'3', 1);
    SendMessageW(Item(IDC_GAMMA_EDIT), WM_KILLFOCUS, 0, 0);
    EXPECT_FLOAT_EQ(block->GetFloat(pb_gamma), 3.0f);
    GetISpinner(Item(IDC_COUNT_SPIN))->SetLimits(1, 10);
    EXPECT_EQ(GetISpinner(Item(IDC_COUNT_SPIN))->GetIVal(), 10);
}

TEST_F(ParamMapRollouts, ACheckBoxAndAListStoreTheirValues) {
    Open();
    EXPECT_EQ(IsDlgButtonChecked(rollout, IDC_ENABLED), BST_UNCHECKED);
    for (const int expected : {1, 0}) {
        SendMessageW(Item(IDC_ENABLED), BM_CLICK, 0, 0);
        EXPECT_EQ(block->GetInt(pb_enabled), expected);
        EXPECT_EQ(proc.Last(WM_COMMAND, IDC_ENABLED)->enabled, expected);
    }
    // The list is sorted (Apple, Mango, Zebra), loaded from the string table, and stores each item's own
    // p_vals entry before the user procedure sees the command; other notifications store nothing.
    const HWND fruit = Item(IDC_FRUIT);
    EXPECT_EQ(WindowText(fruit), L"Apple") << "the default 20 is Apple";
    SendMessageW(fruit, CB_SETCURSEL, 1, 0);
    SendMessageW(rollout, WM_COMMAND, MAKEWPARAM(IDC_FRUIT, CBN_SELCHANGE), reinterpret_cast<LPARAM>(fruit));
    EXPECT_EQ(block->GetInt(pb_fruit), 30) << "Mango";
    EXPECT_EQ(proc.Last(WM_COMMAND, IDC_FRUIT)->fruit, 30);
    block->SetValue(pb_fruit, 0, 10);
    SendMessageW(rollout, WM_COMMAND, MAKEWPARAM(IDC_FRUIT, CBN_DROPDOWN), reinterpret_cast<LPARAM>(fruit));
    EXPECT_EQ(block->GetInt(pb_fruit), 10);
    EXPECT_EQ(HIWORD(proc.Last(WM_COMMAND, IDC_FRUIT)->wParam), CBN_DROPDOWN);
}

// A refresh shows the block in the bound controls and tells each open rollout's procedure; a whole one also
// repaints the rollout, where the user procedure draws what comes from the thing.
TEST_F(ParamMapRollouts, InvalidateUIShowsTheBlockAndRepaintsTheRollout) {
    Open();
    ShowWindow(host, SW_SHOWNA);
    UpdateWindow(host);
    RECT pending;
    ASSERT_FALSE(GetUpdateRect(rollout, &pending, FALSE)) << "the shown editor has painted everything";
    block->SetValue(pb_count, 0, 42);
    block->SetValue(pb_gamma, 0, 2.5f);
    block->SetValue(pb_enabled, 0, 1);
    block->SetValue(pb_fruit, 0, 10);
    BitmapTex* map = NewDefaultBitmapTex();
    map->SetName(L"Map #3");
    block->SetValue(pb_map, 0, static_cast<Texmap*>(map));
    EXPECT_EQ(WindowText(Item(IDC_COUNT_EDIT)), L"10") << "nothing changes before the refresh";

    dlg->GetMap(0)->Invalidate(pb_fruit);
    EXPECT_EQ(WindowText(Item(IDC_FRUIT)), L"Zebra");
    EXPECT_EQ(WindowText(Item(IDC_MAP_BUTTON)), L"None") << "only the named parameter is shown";
    EXPECT_FALSE(GetUpdateRect(rollout, &pending, FALSE)) << "and only its control redrawn";

    const int updates = proc.updates;
    cd.InvalidateUI();
    EXPECT_EQ(WindowText(Item(IDC_COUNT_EDIT)), L"42");
    EXPECT_EQ(GetISpinner(Item(IDC_COUNT_SPIN))->GetIVal(), 42);
    EXPECT_EQ(WindowText(Item(IDC_GAMMA_EDIT)), L"2.5");
    EXPECT_EQ(IsDlgButtonChecked(rollout, IDC_ENABLED), BST_CHECKED);
    EXPECT_EQ(WindowText(Item(IDC_MAP_BUTTON)), L"Map #3 (Bitmap)");
    EXPECT_EQ(proc.updates, updates + 2) << "each open rollout's procedure is told";
    EXPECT_EQ(block->GetInt(pb_count), 42) << "refreshing writes nothing back";
    // All of the rollout that the rollup shows, from its top left corner, and the procedure paints again.
    ASSERT_TRUE(GetUpdateRect(rollout, &pending, FALSE));
    EXPECT_EQ(pending.left, 0);
    EXPECT_EQ(pending.top, 0);
    const std::size_t before = proc.calls.size();
    UpdateWindow(rollout);
    const RecordingProc::Call* paint = proc.Last(WM_PAINT);
    ASSERT_NE(paint, nullptr);
    EXPECT_GE(static_cast<std::size_t>(paint - proc.calls.data()), before);
    EXPECT_EQ(paint->dlg, rollout);

    block->SetValue(pb_fruit, 0, 99);
    dlg->GetMap(0)->Invalidate(pb_fruit);
    EXPECT_EQ(SendMessageW(Item(IDC_FRUIT), CB_GETCURSEL, 0, 0), CB_ERR)
        << "a value no item stores selects none";
}

// The editor's display tests choose a picture through the real file dialog; here what the button does with
// the chooser's answer.
TEST_F(ParamMapRollouts, TheBitmapButtonLoadsTheChosenFileAndCancelKeepsIt) {
    const std::string file = TestDataFile("images/Silk.png");
    const MSTR path(file.begin(), file.end());
    std::vector<MSTR> offered;
    bool answer = true;
    struct RestoreChooser {
        BitmapFileChooser previous;
        ~RestoreChooser() { SetBitmapFileChooser(previous); }
    } restore{SetBitmapFileChooser([&](HWND, const MSTR& current, MSTR& chosen) {
        offered.push_back(current);
        if (answer)
            chosen = path;
        return answer;
    })};
    Open();
    SendMessageW(Item(IDC_BITMAP_BUTTON), BM_CLICK, 0, 0);
    PBBitmap* bitmap = block->GetBitmap(pb_bitmap);
    ASSERT_NE(bitmap, nullptr);
    ASSERT_NE(bitmap->bm, nullptr) << "the chosen file is loaded";
    EXPECT_EQ(WindowText(Item(IDC_BITMAP_BUTTON)), L"Silk.png") << "the button shows the file's name";
    ASSERT_NE(proc.Last(WM_COMMAND, IDC_BITMAP_BUTTON), nullptr);

    answer = false;
    SendMessageW(Item(IDC_BITMAP_BUTTON), BM_CLICK, 0, 0);
    EXPECT_EQ(offered, (std::vector<MSTR>{MSTR(), path})) << "the chooser starts from the current file";
    EXPECT_EQ(MSTR(block->GetBitmap(pb_bitmap)->bi.Name()), path) << "cancelled: the file is kept";
}

TEST_F(ParamMapRollouts, ClosingDestroysTheRollouts) {
    Open();
    const HWND second = dlg->GetMap(1)->GetHWnd();
    dlg->DeleteThis();
    dlg = nullptr;
    EXPECT_FALSE(IsWindow(rollout));
    EXPECT_FALSE(IsWindow(second));
    EXPECT_EQ(rollup->GetNumPanels(), 0);
    EXPECT_EQ(cd.NumParamMaps(), 0);
    EXPECT_NE(proc.Last(WM_DESTROY), nullptr) << "the user procedure sees the rollout go";

    // An editor closed before its parameter dialog: the dialog finds its windows gone.
    Open();
    DestroyWindow(host);
    host = nullptr;
    EXPECT_EQ(dlg->GetMap(0)->GetHWnd(), nullptr);
    cd.InvalidateUI(); // nothing to show, nothing to crash on
    dlg->DeleteThis();
    dlg = nullptr;
}

class BrokenRollout : public ParamMapRollouts {
protected:
    // The second rollout names a control class nobody registered.
    void SetUp() override { Build(IDD_TEST_PARAMS, IDD_TEST_BROKEN); }
};

TEST_F(BrokenRollout, ARolloutThatCannotBeCreatedLeavesNothingBehind) {
    dlg = cd.CreateParamDlgs(host, params.get(), &owner);
    EXPECT_EQ(dlg, nullptr);
    ASSERT_NE(proc.Last(WM_INITDIALOG), nullptr) << "the first rollout was created";
    EXPECT_NE(proc.Last(WM_DESTROY), nullptr) << "and destroyed again";
    EXPECT_EQ(rollup->GetNumPanels(), 0);
    EXPECT_EQ(cd.NumParamMaps(), 0);
    EXPECT_EQ(FindWindowExW(rollupWindow, nullptr, nullptr, nullptr), nullptr) << "no window is left over";
}

} // namespace
