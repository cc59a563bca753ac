// Reading the action scripts that `chromasift edit --script` replays.
#include "host/edit/edit_script.h"

#include "host/edit/edit_command.h"

#include "error_message.h"

#include <gtest/gtest.h>

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
                                         "save out dir/scene copy.json\n",
                                         "session.txt");
    ASSERT_EQ(actions.size(), 8u);
    EXPECT_EQ(actions[0].kind, EditAction::Kind::Choose);
    EXPECT_EQ(actions[0].control, 1019);
    EXPECT_EQ(actions[0].text, "Coordinates");
    EXPECT_EQ(actions[0].line, 3);
    EXPECT_EQ(actions[1].kind, EditAction::Kind::Click);
    EXPECT_EQ(actions[1].control, 1049);
    EXPECT_EQ(actions[2].kind, EditAction::Kind::Spinner);
    EXPECT_EQ(actions[2].control, 1032);
    EXPECT_EQ(actions[2].value, 7.0);
    EXPECT_EQ(actions[3].value, 2.5);
    EXPECT_EQ(actions[4].text, "Luminance (Inverse)");
    EXPECT_EQ(actions[5].kind, EditAction::Kind::Bitmap);
    EXPECT_EQ(actions[5].text, "C:\\pictures\\my photo.jpg");
    EXPECT_EQ(actions[6].kind, EditAction::Kind::Save);
    EXPECT_TRUE(actions[6].text.empty());
    EXPECT_EQ(actions[7].text, "out dir/scene copy.json");
    EXPECT_EQ(actions[7].line, 10);
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

TEST(EditScript, TimeAndAnimateMode) {
    const auto actions = ParseEditScript("animate on\ntime -30\nspinner 1037 3\nanimate off\n", "t.txt");
    ASSERT_EQ(actions.size(), 4u);
    EXPECT_EQ(actions[0].kind, EditAction::Kind::Animate);
    EXPECT_EQ(actions[0].value, 1.0);
    EXPECT_EQ(actions[1].kind, EditAction::Kind::Time);
    EXPECT_EQ(actions[1].value, -30.0);
    EXPECT_EQ(actions[3].value, 0.0);
}

TEST(EditScript, AMissingScriptIsNamed) {
    EXPECT_EQ(ErrorOf<EditScriptError>([] { host::ReadEditScript("no/such/script.txt"); }),
              "no/such/script.txt: cannot open the script");
}

} // namespace
