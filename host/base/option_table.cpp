#include "host/base/option_table.h"

#include "host/base/command_arguments.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

namespace host {

namespace {

constexpr std::size_t kHelpWidth = 100;
// Where an option's help starts: two blanks, its names and value padded to 17 characters, two blanks.
constexpr std::size_t kHelpColumn = 21;

void Replace(std::string& text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

std::string ExpandedHelp(const CommandOption& option) {
    std::string help = option.help;
    if (option.bounds) {
        Replace(help, "{low}", BoundText(option.bounds->low));
        Replace(help, "{high}", BoundText(option.bounds->high));
    }
    return help;
}

// `text`'s lines broken between words to at most `width` characters. A line that starts with blanks is an
// item of a list ("  png   a swatch sheet"): the lines it wraps onto start under its second word.
std::vector<std::string> Wrap(const std::string& text, std::size_t width) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string paragraph = text.substr(start, end - start);
        const std::size_t indent = std::min(paragraph.find_first_not_of(' '), paragraph.size());
        std::string margin;
        if (indent > 0) {
            const std::size_t second = paragraph.find_first_not_of(' ', paragraph.find(' ', indent));
            margin.assign(second == std::string::npos ? indent : second, ' ');
        }
        // Each word with the blanks before it, kept as written on the paragraph's first line.
        std::string line;
        for (std::size_t at = indent, gapStart = 0; at < paragraph.size();) {
            const std::size_t wordEnd = std::min(paragraph.find(' ', at), paragraph.size());
            const std::string gap = paragraph.substr(gapStart, at - gapStart);
            const std::string word = paragraph.substr(at, wordEnd - at);
            if (!line.empty() && line.size() + gap.size() + word.size() > width) {
                lines.push_back(line);
                line = margin + word;
            } else {
                line += gap + word;
            }
            gapStart = wordEnd;
            at = std::min(paragraph.find_first_not_of(' ', wordEnd), paragraph.size());
        }
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::string Label(const CommandOption& option) {
    std::string label;
    for (const std::string& name : option.names)
        label += (label.empty() ? "" : ", ") + name;
    return option.value.empty() ? label : label + " " + option.value;
}

} // namespace

std::string BoundText(double bound) {
    char text[32];
    if (std::floor(bound) == bound && std::fabs(bound) < 1e15)
        std::snprintf(text, sizeof text, "%.0f", bound);
    else
        std::snprintf(text, sizeof text, "%g", bound);
    return text;
}

CommandOption SwitchOption(std::vector<std::string> names, std::string help, bool& target) {
    CommandOption option;
    option.names = std::move(names);
    option.help = std::move(help);
    option.set = [&target](const std::string&, const std::string&) {
        target = true;
        return std::string();
    };
    return option;
}

CommandOption ValueOption(std::vector<std::string> names, std::string value, std::string help,
                          std::function<std::string(const std::string& name, const std::string& value)> set) {
    CommandOption option;
    option.names = std::move(names);
    option.value = std::move(value);
    option.help = std::move(help);
    option.set = std::move(set);
    return option;
}

CommandOption PathOption(std::vector<std::string> names, std::string value, std::string help,
                         std::function<void(const std::string&)> store) {
    CommandOption option =
        ValueOption(std::move(names), std::move(value), std::move(help),
                    [store = std::move(store)](const std::string&, const std::string& file) {
                        store(file);
                        return std::string();
                    });
    option.path = true;
    return option;
}

namespace {

// A number read by `parse` (ParseInt or ParseFloat) within the bounds and handed to `store`.
template <class T>
CommandOption NumberOption(std::vector<std::string> names, std::string value, OptionBounds bounds,
                           std::string help, std::function<void(T)> store,
                           bool (*parse)(const std::string&, T, T, T&)) {
    CommandOption option =
        ValueOption(std::move(names), std::move(value), std::move(help),
                    [bounds, store, parse](const std::string& name, const std::string& text) {
                        T number{};
                        if (!parse(text, static_cast<T>(bounds.low), static_cast<T>(bounds.high), number))
                            return name + " takes " + bounds.noun + " from " + BoundText(bounds.low) +
                                   " to " + BoundText(bounds.high) + ", not '" + text + "'";
                        store(number);
                        return std::string();
                    });
    option.bounds = std::move(bounds);
    return option;
}

} // namespace

CommandOption IntOption(std::vector<std::string> names, std::string value, OptionBounds bounds,
                        std::string help, std::function<void(int)> store) {
    return NumberOption<int>(std::move(names), std::move(value), std::move(bounds), std::move(help),
                             std::move(store), ParseInt);
}

CommandOption FloatOption(std::vector<std::string> names, std::string value, OptionBounds bounds,
                          std::string help, std::function<void(float)> store) {
    return NumberOption<float>(std::move(names), std::move(value), std::move(bounds), std::move(help),
                               std::move(store), ParseFloat);
}

void RefuseOptions(OptionTable& table, std::initializer_list<std::pair<const char*, const char*>> refused) {
    for (const auto& [name, message] : refused) {
        CommandOption* option = FindOption(table, name);
        option->help.clear();
        option->set = [text = message](const std::string&, const std::string&) { return std::string(text); };
    }
}

OptionTable OptionSection(const std::string& heading, OptionTable options) {
    for (CommandOption& option : options)
        option.section = heading;
    return options;
}

CommandOption* FindOption(OptionTable& table, const std::string& name) {
    for (CommandOption& option : table)
        for (const std::string& each : option.names)
            if (each == name)
                return &option;
    return nullptr;
}

const CommandOption* FindOption(const OptionTable& table, const std::string& name) {
    return FindOption(const_cast<OptionTable&>(table), name);
}

bool OptionTakesValue(const OptionTable& table, const std::string& name) {
    const CommandOption* option = FindOption(table, name);
    return option != nullptr && !option->value.empty();
}

std::string ParseOptions(const OptionTable& table, int argc, char** argv, int first,
                         const std::string& command,
                         const std::function<std::string(const std::string& operand)>& operand) {
    const auto takesValue = [&table](const std::string& name) { return OptionTakesValue(table, name); };
    for (const CommandArgument& argument : ReadCommandArguments(argc, argv, first, takesValue)) {
        const std::string& name = argument.text;
        std::string problem;
        if (!argument.option) {
            problem = operand(name);
        } else if (const CommandOption* option = FindOption(table, name); option == nullptr) {
            problem = "unknown option '" + name + "' for '" + command + "'";
        } else if (option->value.empty() && argument.value) {
            problem = name + " takes no value, not '" + *argument.value + "'";
        } else if (!option->value.empty() && !argument.value) {
            problem = name + " needs a value";
        } else {
            problem = option->set(name, argument.value.value_or(std::string()));
        }
        if (!problem.empty())
            return problem;
    }
    return std::string();
}

std::string OptionsHelp(const OptionTable& table) {
    std::string help;
    const std::string* section = nullptr;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const std::string text = ExpandedHelp(table[i]);
        if (text.empty())
            continue;
        std::string label = Label(table[i]);
        // Neighbours with the same help share its entry: "--hue H, --saturation S, --value V".
        while (i + 1 < table.size() && table[i + 1].section == table[i].section &&
               ExpandedHelp(table[i + 1]) == text)
            label += ", " + Label(table[++i]);
        if (section == nullptr || *section != table[i].section) {
            help += (section == nullptr ? "" : "\n") + table[i].section + "\n";
            section = &table[i].section;
        }
        const std::vector<std::string> lines = Wrap(text, kHelpWidth - kHelpColumn);
        const std::string margin(kHelpColumn, ' ');
        std::size_t line = 0;
        if (label.size() + 4 <= kHelpColumn)
            help += "  " + label + std::string(kHelpColumn - 2 - label.size(), ' ') + lines[line++] + "\n";
        else
            help += "  " + label + "\n";
        for (; line < lines.size(); ++line)
            help += margin + lines[line] + "\n";
    }
    return help;
}

std::string UsageLine(const std::string& command, const std::string& operands, const OptionTable& table,
                      const std::string& more) {
    std::vector<std::string> items, required;
    for (const CommandOption& option : table) {
        if (option.help.empty())
            continue;
        const std::string value = option.choices.empty() ? option.value : option.choices;
        const std::string item = option.names.front() + (value.empty() ? "" : " " + value);
        (option.required ? required : items).push_back(option.required ? item : "[" + item + "]");
    }
    if (!more.empty())
        items.push_back(more);
    items.insert(items.end(), required.begin(), required.end());
    const std::string start = "Usage: chromasift " + command + " ";
    std::string text = start + operands;
    std::string line = text;
    for (const std::string& item : items) {
        if (line.size() + 1 + item.size() > kHelpWidth) {
            line = std::string(start.size(), ' ');
            text += "\n" + line + item;
            line += item;
            continue;
        }
        text += " " + item;
        line += " " + item;
    }
    return text + "\n";
}

} // namespace host
