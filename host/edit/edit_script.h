#pragma once

// The user actions that `chromasift edit --script` replays on the material editor, one a line:
//
//   click ID           press the button, radio button or check box with that control ID
//   spinner ID VALUE   set the spinner to VALUE, as a drag would
//   choose ID ITEM     choose ITEM (its text as listed) in the drop-down list with that control ID
//   bitmap FILE        use the bitmap button and pick FILE in the file dialog
//   save [FILE]        write the scene, to FILE or to the scene file it was opened from
//
// Blank lines and lines starting with # are skipped. A file name or item text runs to the end of the line.
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace host {

struct EditAction {
    enum class Kind { Click, Spinner, Choose, Bitmap, Save };
    Kind kind = Kind::Click;
    int control = 0;
    double value = 0.0;
    std::string text; // item text or file name
    int line = 0;     // in the script, for messages
};

// A script that cannot be read: the message names the file, the line and the problem.
class EditScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::vector<EditAction> ParseEditScript(const std::string& text, const std::string& origin);
std::vector<EditAction> ReadEditScript(const std::filesystem::path& file);

} // namespace host
