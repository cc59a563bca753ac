// The dialogs as the built plug-in module holds them (Windows build, under Wine): every control of the
// parameters rollout, the About rollout and the reorder dialog, its class, style, text and place in
// dialog units, read from the module's resources rather than from the windows made of them.
#include "dialog_template.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

namespace {

enum class Kind { Text, Custom, List, CheckBox, Frame, Push, DefaultPush, Group, Radio, Picture };

struct Expected {
    Kind kind;
    int id;
    const char16_t* text; // the class name for custom controls; null where the text is free
    int x, y, width, height;
};

constexpr int kNoId = -1;

// Template 106, in template order: the order is the tab order and makes the radio groups.
const std::vector<Expected> kParameters = {
    {Kind::Text, kNoId, u"Bitmap:", 15, 15, 29, 8},
    {Kind::Custom, 1030, u"CustButton", 45, 14, 153, 12},
    {Kind::Custom, 1031, u"CustEdit", 48, 48, 23, 10},
    {Kind::Custom, 1032, u"SpinnerControl", 74, 48, 7, 10},
    {Kind::Text, kNoId, u"Extract", 15, 48, 29, 8},
    {Kind::Text, kNoId, u"most common colors", 84, 49, 70, 8},
    {Kind::Text, kNoId, u"Category:", 19, 195, 35, 8},
    {Kind::List, 1019, nullptr, 68, 193, 85, 13},
    {Kind::Custom, 1033, u"CustButton", 75, 255, 89, 12},
    {Kind::CheckBox, 1034, nullptr, 167, 257, 8, 8},
    {Kind::Text, 1052, u"Input map:", 22, 256, 47, 8},
    {Kind::Frame, 1035, nullptr, 12, 78, 189, 61},
    {Kind::Push, 1139, u"Manual", 15, 159, 58, 14},
    {Kind::Text, kNoId, u"Autosort by", 75, 162, 39, 8},
    {Kind::List, 1020, nullptr, 113, 160, 85, 13},
    {Kind::Custom, 1036, u"CustEdit", 79, 333, 23, 10},
    {Kind::Custom, 1037, u"SpinnerControl", 105, 333, 7, 10},
    {Kind::Text, kNoId, u"Gamma Correction:", 15, 333, 64, 8},
    {Kind::Custom, 1038, u"CustEdit", 48, 62, 23, 10},
    {Kind::Custom, 1039, u"SpinnerControl", 74, 62, 7, 10},
    {Kind::Text, kNoId, u"Skip first", 15, 62, 29, 8},
    {Kind::Text, kNoId, u"colors", 85, 62, 26, 8},
    {Kind::Text, 1045, u"max # colors extracted:", 118, 67, 90, 10},
    {Kind::Text, 1053, u"Number of rows:", 43, 277, 56, 8},
    {Kind::Text, 1054, u"Number of columns:", 43, 289, 65, 8},
    {Kind::Custom, 1040, u"CustEdit", 114, 276, 23, 10},
    {Kind::Custom, 1041, u"SpinnerControl", 140, 276, 7, 10},
    {Kind::Custom, 1042, u"CustEdit", 114, 288, 23, 10},
    {Kind::Custom, 1043, u"SpinnerControl", 140, 288, 7, 10},
    {Kind::Group, kNoId, u"Color Adjustments", 6, 306, 204, 56},
    {Kind::Text, kNoId, u"Color harmony:", 15, 317, 57, 8},
    {Kind::List, 1021, nullptr, 67, 315, 65, 13},
    {Kind::Group, kNoId, u"Color Sorting", 6, 146, 204, 35},
    {Kind::Group, kNoId, nullptr, 6, 37, 204, 107},
    {Kind::Group, kNoId, u"Color Source", 6, 5, 204, 29},
    {Kind::Group, kNoId, u"Color Mapping", 6, 183, 204, 122},
    {Kind::Radio, 1046, u"Radio3", 11, 215, 60, 10},
    {Kind::Radio, 1047, u"Radio3", 79, 215, 60, 10},
    {Kind::Radio, 1048, u"Radio3", 141, 215, 68, 10},
    {Kind::Radio, 1049, u"Radio3", 11, 229, 60, 10},
    {Kind::Radio, 1050, u"Radio3", 79, 229, 60, 10},
    {Kind::Group, 1551, u"Tiling", 38, 267, 119, 34},
    {Kind::Custom, 1044, u"CustEdit", 35, 346, 23, 10},
    {Kind::Custom, 1055, u"SpinnerControl", 61, 346, 7, 10},
    {Kind::Text, kNoId, u"Hue:", 15, 346, 20, 8},
    {Kind::Text, kNoId, u"Saturation:", 73, 346, 38, 8},
    {Kind::Custom, 1056, u"CustEdit", 109, 346, 23, 10},
    {Kind::Custom, 1057, u"SpinnerControl", 135, 346, 7, 10},
    {Kind::Text, kNoId, u"Value:", 147, 346, 24, 8},
    {Kind::Custom, 1058, u"CustEdit", 170, 346, 23, 10},
    {Kind::Custom, 1059, u"SpinnerControl", 196, 346, 7, 10},
    {Kind::Radio, 1051, u"Radio3", 142, 229, 60, 10},
    {Kind::Radio, 1060, u"Radio3", 11, 242, 86, 10},
};

const std::vector<Expected> kAbout = {
    {Kind::Picture, kNoId, nullptr, 0, 1, 216, 48},
    {Kind::Text, 3040, u"Blah", 2, 53, 89, 8},
    {Kind::Text, 1044, u"Go to online documentation", 72, 82, 102, 8},
};

const std::vector<Expected> kReorder = {
    {Kind::DefaultPush, 1, u"OK", 139, 106, 50, 14},
    {Kind::Push, 2, u"Cancel", 190, 106, 50, 14},
    {Kind::Frame, 1035, nullptr, 12, 14, 224, 87},
};

constexpr std::uint16_t kButtonClass = 0x80;
constexpr std::uint16_t kStaticClass = 0x82;
constexpr std::uint16_t kComboBoxClass = 0x85;

std::string Narrow(const std::u16string& text) {
    return std::string(text.begin(), text.end());
}

// Window class names are compared ignoring case, as the window system does.
std::string Upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// A predefined class is written as its ordinal or, by CONTROL statements, by its name.
bool ClassIs(const DialogItem& item, std::uint16_t ordinal, const char* name) {
    return item.classOrdinal == ordinal || Upper(Narrow(item.className)) == name;
}

// Whether the item is of the kind, with the text where the kind has one; the problem otherwise.
std::string Mismatch(const DialogItem& item, const Expected& expected) {
    const std::uint32_t type = item.style & 0x1F;
    const auto predefined = [&](std::uint16_t ordinal, std::uint32_t wanted) {
        const char* name = ordinal == kButtonClass   ? "BUTTON"
                           : ordinal == kStaticClass ? "STATIC"
                                                     : "COMBOBOX";
        return ClassIs(item, ordinal, name) && type == wanted;
    };
    bool matches = false;
    switch (expected.kind) {
    case Kind::Text: // a left-aligned static that starts a control group
        matches = predefined(kStaticClass, SS_LEFT) && (item.style & WS_GROUP) != 0;
        break;
    case Kind::Custom: {
        if (Upper(Narrow(item.className)) != Upper(Narrow(expected.text)))
            return "class " + Narrow(item.className);
        // The buttons keep the resource editor's placeholder, which their parameters' texts replace.
        const std::u16string caption = Upper(Narrow(expected.text)) == "CUSTBUTTON" ? u"Custom1" : u"";
        return item.text == caption ? "" : "text " + Narrow(item.text);
    }
    case Kind::List:
        matches = ClassIs(item, kComboBoxClass, "COMBOBOX") && (item.style & 3) == CBS_DROPDOWNLIST &&
                  (item.style & WS_VSCROLL) != 0 && ((item.style & CBS_SORT) != 0) == (expected.id == 1020);
        break;
    case Kind::CheckBox:
        matches = predefined(kButtonClass, BS_AUTOCHECKBOX);
        break;
    case Kind::Frame:
        matches = predefined(kStaticClass, SS_BLACKFRAME);
        break;
    case Kind::Push:
        matches = predefined(kButtonClass, BS_PUSHBUTTON);
        break;
    case Kind::DefaultPush:
        matches = predefined(kButtonClass, BS_DEFPUSHBUTTON);
        break;
    case Kind::Group:
        matches = predefined(kButtonClass, BS_GROUPBOX);
        break;
    case Kind::Radio:
        matches = predefined(kButtonClass, BS_AUTORADIOBUTTON);
        break;
    case Kind::Picture: // the banner bitmap at its own size, with a border
        matches =
            predefined(kStaticClass, SS_BITMAP) && (item.style & WS_BORDER) != 0 && item.textOrdinal == 160;
        break;
    }
    if (!matches)
        return "class or style";
    if (expected.text != nullptr && item.text != expected.text)
        return "text \"" + Narrow(item.text) + "\"";
    return "";
}

void ExpectItems(const DialogTemplate& dialog, const std::vector<Expected>& expected) {
    ASSERT_EQ(dialog.items.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const DialogItem& item = dialog.items[i];
        const Expected& want = expected[i];
        SCOPED_TRACE(testing::Message() << "item " << i + 1 << ", id " << want.id);
        EXPECT_EQ(static_cast<int>(item.id), want.id);
        EXPECT_EQ(Mismatch(item, want), "");
        EXPECT_EQ(item.x, want.x);
        EXPECT_EQ(item.y, want.y);
        EXPECT_EQ(item.width, want.width);
        EXPECT_EQ(item.height, want.height);
    }
}

class BuiltDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t program[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, program, MAX_PATH);
        const std::filesystem::path plugin =
            std::filesystem::path(program).parent_path() / "plugins" / "kr_tintworks.dlt";
        module = LoadLibraryExW(plugin.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module, nullptr) << plugin.string();
    }
    void TearDown() override {
        if (module != nullptr)
            FreeLibrary(module);
    }

    DialogTemplate Dialog(int id) {
        HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5)); // RT_DIALOG
        EXPECT_NE(found, nullptr) << "no template " << id;
        if (found == nullptr)
            return {};
        const auto* bytes = static_cast<const std::uint8_t*>(LockResource(LoadResource(module, found)));
        const std::optional<DialogTemplate> dialog =
            ParseDialogTemplate(bytes, SizeofResource(module, found));
        EXPECT_TRUE(dialog.has_value()) << "template " << id << " is not an extended dialog template";
        return dialog.value_or(DialogTemplate{});
    }

    HMODULE module = nullptr;
};

TEST_F(BuiltDialogs, TheParametersRolloutHoldsEveryControlInTemplateOrder) {
    const DialogTemplate dialog = Dialog(106);
    EXPECT_EQ(dialog.style & (WS_CHILD | WS_VISIBLE | WS_POPUP), WS_CHILD | WS_VISIBLE);
    EXPECT_EQ(dialog.width, 218);
    EXPECT_EQ(dialog.height, 373);
    EXPECT_EQ(dialog.font, u"MS Sans Serif");
    EXPECT_EQ(dialog.pointSize, 8);
    ExpectItems(dialog, kParameters);

    // The radios' automatic groups, as the statics before them start groups: 1046 to 1050, then 1051 and
    // 1060.
    std::vector<std::vector<int>> radioGroups;
    bool newGroup = true;
    for (const DialogItem& item : dialog.items) {
        if (item.style & WS_GROUP)
            newGroup = true;
        if (!ClassIs(item, kButtonClass, "BUTTON") || (item.style & 0x1F) != BS_AUTORADIOBUTTON)
            continue;
        if (newGroup)
            radioGroups.emplace_back();
        radioGroups.back().push_back(static_cast<int>(item.id));
        newGroup = false;
    }
    EXPECT_EQ(radioGroups, (std::vector<std::vector<int>>{{1046, 1047, 1048, 1049, 1050}, {1051, 1060}}));
}

TEST_F(BuiltDialogs, TheAboutRolloutShowsTheBannerTheVersionAndTheLink) {
    const DialogTemplate dialog = Dialog(107);
    EXPECT_EQ(dialog.style & (WS_CHILD | WS_VISIBLE | WS_POPUP), WS_CHILD | WS_VISIBLE);
    EXPECT_EQ(dialog.width, 218);
    EXPECT_EQ(dialog.height, 96);
    EXPECT_EQ(dialog.font, u"MS Sans Serif");
    EXPECT_EQ(dialog.pointSize, 8);
    ExpectItems(dialog, kAbout);
}

TEST_F(BuiltDialogs, TheReorderDialogIsASystemModalPopupWithItsFrameAndButtons) {
    const DialogTemplate dialog = Dialog(163);
    const std::uint32_t style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SYSMODAL;
    EXPECT_EQ(dialog.style & (style | WS_CHILD), style);
    EXPECT_EQ(dialog.x, 320);
    EXPECT_EQ(dialog.y, 200);
    EXPECT_EQ(dialog.width, 240);
    EXPECT_EQ(dialog.height, 127);
    EXPECT_EQ(dialog.title, u"KESTRIM Chromasift reorder colours");
    EXPECT_EQ(dialog.font, u"MS Shell Dlg");
    EXPECT_EQ(dialog.pointSize, 8);
    ExpectItems(dialog, kReorder);
}

TEST(DialogTemplateReading, DamagedTemplatesAreRefused) {
    const std::uint8_t notExtended[] = {1, 0, 0, 0, 0, 0};
    EXPECT_FALSE(ParseDialogTemplate(notExtended, sizeof notExtended).has_value());
    // The header of an extended template that claims one control and ends before it.
    std::vector<std::uint8_t> truncated = {1, 0, 0xFF, 0xFF};
    truncated.resize(26, 0);
    truncated[16] = 1;
    EXPECT_FALSE(ParseDialogTemplate(truncated.data(), truncated.size()).has_value());
}

} // namespace
