#pragma once

// The user actions that `chromasift edit --script` replays on the material editor, one a line:
//
//   click ID           press the button, radio button or check box with that control ID
//   spinner ID VALUE   set the spinner to VALUE, as a drag would
//   choose ID ITEM     choose ITEM (its text as listed) in the drop-down list with that control ID
//   bitmap FILE        use the bitmap button and pick FILE in the file dialog
//   save [FILE]        write the scene, to FILE or to the scene file it was opened from
//   time FRAME         move the time slider to the frame
//   animate on|off     turn animate mode on or off: with it on, a spinner change sets a key
//
// Blank lines and lines starting with # are skipped. A file name or item text runs to the end of the line.
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace host {

struct EditAction {
    enum class Kind { Click, Spinner, Choose, Bitmap, Save, Time, Animate };
    Kind kind = Kind::Click;
    int control = 0;
    double value = 0.0; // spinner value, frame, or 1 and 0 for animate on and off
    std::string text;   // item text or file name
    int line = 0;       // in the script, for messages
};

// A script that cannot be read: the message names the file, the line and the problem.
class EditScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::vector<EditAction> ParseEditScript(const std::string& text, const std::string& origin);
std::vector<EditAction> ReadEditScript(const std::filesystem::path& file);

} // namespace host
