#include "host/edit/edit_script.h"

#include "host/base/text.h"
#include "host/scene/frame_list.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace host {
namespace {

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return std::string();
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

class LineReader {
public:
    LineReader(const std::string& line, const std::string& origin, int number)
        : rest(line), origin(origin), number(number) {}

    std::string Word() {
        rest = Trim(rest);
        const auto end = rest.find_first_of(" \t");
        std::string word = rest.substr(0, end);
        rest = end == std::string::npos ? std::string() : rest.substr(end);
        return word;
    }
    std::string Rest() { return Trim(rest); }

    int ControlId(const std::string& action) {
        const std::string word = Word();
        char* end = nullptr;
        errno = 0;
        const long id = std::strtol(word.c_str(), &end, 10);
        if (word.empty() || *end != '\0' || errno != 0 || id < 0 || id > 65535)
            Fail(action + " needs a control ID from 0 to 65535" +
                 (word.empty() ? "" : ", not '" + word + "'"));
        return static_cast<int>(id);
    }
    double Number(const std::string& action) {
        const std::string word = Word();
        char* end = nullptr;
        const double value = std::strtod(word.c_str(), &end);
        if (word.empty() || *end != '\0' || !std::isfinite(value))
            Fail(action + " needs a finite number" + (word.empty() ? "" : ", not '" + word + "'"));
        return value;
    }
    void End(const std::string& action) {
        if (!Rest().empty())
            Fail("unexpected '" + Rest() + "' after " + action);
    }
    [[noreturn]] void Fail(const std::string& problem) const {
        throw EditScriptError(origin + ":" + std::to_string(number) + ": " + problem);
    }

private:
    std::string rest;
    const std::string& origin;
    int number;
};

} // namespace

std::vector<EditAction> ParseEditScript(const std::string& text, const std::string& origin) {
    std::vector<EditAction> actions;
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        const std::string trimmed = Trim(line);
        if (trimmed.empty() || trimmed.front() == '#')
            continue;
        LineReader reader(trimmed, origin, number);
        EditAction action;
        action.line = number;
        const std::string verb = reader.Word();
        if (verb == "click") {
            action.kind = EditAction::Kind::Click;
            action.control = reader.ControlId(verb);
            reader.End(verb);
        } else if (verb == "spinner") {
            action.kind = EditAction::Kind::Spinner;
            action.control = reader.ControlId(verb);
            action.value = reader.Number(verb);
            reader.End(verb);
        } else if (verb == "choose") {
            action.kind = EditAction::Kind::Choose;
            action.control = reader.ControlId(verb);
            action.text = reader.Rest();
            if (action.text.empty())
                reader.Fail("choose needs the text of a list item");
        } else if (verb == "bitmap") {
            action.kind = EditAction::Kind::Bitmap;
            action.text = reader.Rest();
            if (action.text.empty())
                reader.Fail("bitmap needs a file name");
        } else if (verb == "time") {
            action.kind = EditAction::Kind::Time;
            action.value = reader.Number(verb);
            if (action.value != std::floor(action.value) || std::fabs(action.value) > kMaxFrame)
                reader.Fail("time needs a whole frame number");
            reader.End(verb);
        } else if (verb == "animate") {
            action.kind = EditAction::Kind::Animate;
            const std::string state = reader.Word();
            if (state != "on" && state != "off")
                reader.Fail("animate needs on or off" + (state.empty() ? "" : ", not '" + state + "'"));
            action.value = state == "on" ? 1.0 : 0.0;
            reader.End(verb);
        } else if (verb == "save") {
            action.kind = EditAction::Kind::Save;
            action.text = reader.Rest();
        } else {
            reader.Fail("unknown action '" + verb +
                        "' (click, spinner, choose, bitmap, save, time or animate)");
        }
        actions.push_back(std::move(action));
    }
    return actions;
}

std::vector<EditAction> ReadEditScript(const std::filesystem::path& file) {
    const std::string origin = PathToUtf8(file);
    if (std::filesystem::is_directory(file))
        throw EditScriptError(origin + ": it is a directory");
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw EditScriptError(origin + ": cannot open the script");
    std::ostringstream text;
    text << in.rdbuf();
    return ParseEditScript(text.str(), origin);
}

} // namespace host
