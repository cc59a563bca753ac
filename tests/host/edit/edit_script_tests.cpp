// Reading the action scripts that `chromasift edit --script` replays.
#include "host/edit/edit_script.h"

#include "host/edit/edit_command.h"

#include "error_message.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

using host::EditAction;
using host::EditScriptError;
using host::ParseEditScript;

TEST(EditScript, ReadsEveryActionWithItsArguments) {
    const auto actions = ParseEditScript("# a session\n"
                                         "\n"
                                         "choose 1019 Coordinates\n"
                                         "  click 1049\r\n"
                                         "spinner 1032 7\n"
                                         "spinner 1037 2.5\n"
                                         "choose 1020 Luminance (Inverse)\n"
                                         "bitmap C:\\pictures\\my photo.jpg\n"
                                         "save\n"
                                         "save out dir/scene copy.json\n"
                                         "animate on\n"
                                         "time -30\n"
                                         "animate off\n",
                                         "session.txt");
    using enum EditAction::Kind;
    using Read =
        std::tuple<EditAction::Kind, int, double, std::string, int>; // kind, control, value, text, line
    const std::vector<Read> expected = {
        {Choose, 1019, 0, "Coordinates", 3},
        {Click, 1049, 0, "", 4},
        {Spinner, 1032, 7, "", 5},
        {Spinner, 1037, 2.5, "", 6},
        {Choose, 1020, 0, "Luminance (Inverse)", 7},
        {Bitmap, 0, 0, "C:\\pictures\\my photo.jpg", 8},
        {Save, 0, 0, "", 9},
        {Save, 0, 0, "out dir/scene copy.json", 10},
        {Animate, 0, 1, "", 11},
        {Time, 0, -30, "", 12},
        {Animate, 0, 0, "", 13},
    };
    std::vector<Read> read;
    for (const EditAction& a : actions)
        read.emplace_back(a.kind, a.control, a.value, a.text, a.line);
    EXPECT_EQ(read, expected);
}

// The message of the error a one-line script raises.
std::string LineError(const std::string& line) {
    return ErrorOf<EditScriptError>([&] { ParseEditScript("click 1046\n" + line + "\n", "s.txt"); });
}

TEST(EditScript, BadLinesAreNamedWithTheirProblem) {
    EXPECT_EQ(LineError("clik 1046"),
              "s.txt:2: unknown action 'clik' (click, spinner, choose, bitmap, save, time or animate)");
    EXPECT_EQ(LineError("click"), "s.txt:2: click needs a control ID from 0 to 65535");
    EXPECT_EQ(LineError("click ten"), "s.txt:2: click needs a control ID from 0 to 65535, not 'ten'");
    EXPECT_EQ(LineError("click 70000"), "s.txt:2: click needs a control ID from 0 to 65535, not '70000'");
    EXPECT_EQ(LineError("click 1046 twice"), "s.txt:2: unexpected 'twice' after click");
    EXPECT_EQ(LineError("spinner 1032"), "s.txt:2: spinner needs a finite number");
    EXPECT_EQ(LineError("spinner 1032 nan"), "s.txt:2: spinner needs a finite number, not 'nan'");
    EXPECT_EQ(LineError("spinner 1032 5x"), "s.txt:2: spinner needs a finite number, not '5x'");
    EXPECT_EQ(LineError("choose 1019"), "s.txt:2: choose needs the text of a list item");
    EXPECT_EQ(LineError("bitmap"), "s.txt:2: bitmap needs a file name");
    EXPECT_EQ(LineError("time 2.5"), "s.txt:2: time needs a whole frame number");
    EXPECT_EQ(LineError("time 30 frames"), "s.txt:2: unexpected 'frames' after time");
    EXPECT_EQ(LineError("animate"), "s.txt:2: animate needs on or off");
    EXPECT_EQ(LineError("animate yes"), "s.txt:2: animate needs on or off, not 'yes'");
}

TEST(EditScript, AMissingScriptIsNamed) {
    EXPECT_EQ(ErrorOf<EditScriptError>([] { host::ReadEditScript("no/such/script.txt"); }),
              "no/such/script.txt: cannot open the script");
}

} // namespace
