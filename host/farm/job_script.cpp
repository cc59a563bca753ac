#include "host/farm/job_script.h"

#include "host/scene/frame_list.h"

namespace host {

namespace {

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// A value of an #SBATCH line as sbatch reads it back: in double quotes, which keep spaces, with a backslash
// before the characters that would end the quotes, escape or start a comment.
std::string SbatchValue(const std::string& value) {
    std::string quoted = "\"";
    for (char c : value) {
        if (c == '"' || c == '\\' || c == '\'' || c == '#')
            quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

// The name as a message shows it: control characters as C escapes, so that the refusal stays on its line.
std::string VisibleName(const std::string& name) {
    std::string shown;
    for (unsigned char c : name) {
        if (c == '\n')
            shown += "\\n";
        else if (c == '\t')
            shown += "\\t";
        else if (c < 0x20 || c == 0x7f) {
            const char digits[] = "0123456789abcdef";
            shown += std::string("\\x") + digits[c >> 4] + digits[c & 15];
        } else
            shown += static_cast<char>(c);
    }
    return shown;
}

bool HoldsControlCharacter(const std::string& text) {
    for (unsigned char c : text)
        if (c < 0x20 || c == 0x7f)
            return true;
    return false;
}

} // namespace

std::string JobScriptRefusal(const FarmJob& job) {
    std::vector<std::string> names = {job.name, job.script, job.tool, job.logPattern, job.partition};
    names.insert(names.end(), job.toolOptions.begin(), job.toolOptions.end());
    names.insert(names.end(), job.renderArguments.begin(), job.renderArguments.end());
    for (const std::string& name : names)
        if (HoldsControlCharacter(name))
            return "'" + VisibleName(name) +
                   "' holds a control character, which a job script cannot carry: name the files without "
                   "line breaks, tabs or other control characters";
    if (job.logPattern.find('\\') != std::string::npos)
        return "'" + job.logPattern +
               "' holds a backslash, which stops Slurm from numbering the tasks' logs: name the frames' "
               "folder and file without one";
    return std::string();
}

std::string SlurmFilePattern(const std::string& path) {
    return ReplaceAll(path, "%", "%%");
}

std::string ShellWord(const std::string& word) {
    if (!word.empty() && word.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                                "0123456789_-./=:,+%@") == std::string::npos)
        return word;
    return "'" + ReplaceAll(word, "'", "'\\''") + "'";
}

std::string TaskList(const std::vector<int>& tasks) {
    return FrameListText(tasks);
}

std::string JobFileName(const std::string& outputPattern, const std::string& suffix) {
    const std::size_t separator = outputPattern.find_last_of("/\\");
    const std::size_t nameStart = separator == std::string::npos ? 0 : separator + 1;
    std::string name = outputPattern.substr(nameStart);
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    const std::size_t hashes = name.find_last_of('#');
    if (hashes != std::string::npos) {
        std::size_t start = name.find_last_not_of('#', hashes);
        start = start == std::string::npos ? 0 : start + 1;
        std::size_t end = hashes + 1;
        // The frame number goes with one separator beside it: "seq_" gives "seq", "a_##_b" gives "a_b".
        const auto separator = [](char c) { return c == '_' || c == '-' || c == '.' || c == ' '; };
        if (start > 0 && separator(name[start - 1]))
            --start;
        else if (end < name.size() && separator(name[end]))
            ++end;
        name.erase(start, end - start);
    }
    if (name.empty())
        name = "frames";
    return outputPattern.substr(0, nameStart) + name + suffix;
}

std::string TaskLogFile(const std::string& logPattern, const std::string& jobId, int task) {
    std::string file;
    for (std::size_t i = 0; i < logPattern.size(); ++i) {
        const char next = i + 1 < logPattern.size() ? logPattern[i + 1] : 0;
        if (logPattern[i] != '%' || (next != 'A' && next != 'a' && next != '%')) {
            file += logPattern[i];
            continue;
        }
        file += next == 'A' ? jobId : next == 'a' ? std::to_string(task) : "%";
        ++i;
    }
    return file;
}

std::string JobScriptText(const FarmJob& job) {
    std::string text =
        "#!/bin/sh\n"
        "# Written by `chromasift submit`: a job array whose tasks each render one chunk of a\n"
        "# sequence. The farm's nodes share this file system: they run the tool and read the\n"
        "# scene by the paths below and write the frames beside this file. A task leaves the\n"
        "# frames that are there already alone. To render a chunk here, without the farm:\n"
        "#   SLURM_ARRAY_TASK_ID=0 sh " +
        ShellWord(job.script) + "\n";
    text += "#SBATCH --job-name=" + SbatchValue(job.name) + "\n";
    text += "#SBATCH --array=" + TaskList(job.tasks) + "\n";
    text += "#SBATCH --output=" + SbatchValue(job.logPattern) + "\n";
    if (!job.partition.empty())
        text += "#SBATCH --partition=" + SbatchValue(job.partition) + "\n";
    text += "\ncase \"$SLURM_ARRAY_TASK_ID\" in\n";
    for (std::size_t task = 0; task < job.chunks.size(); ++task)
        text += std::to_string(task) + ") frames=" + FrameListText(job.chunks[task]) + " ;;\n";
    text += "*) echo \"chromasift: this job has no task '$SLURM_ARRAY_TASK_ID'\" >&2; exit 2 ;;\nesac\n\n";
    text += "exec " + ShellWord(job.tool);
    for (const std::string& option : job.toolOptions)
        text += " " + ShellWord(option);
    text += " render";
    for (const std::string& argument : job.renderArguments)
        text += " " + ShellWord(argument);
    text += " --skip-existing --frames \"$frames\"\n";
    return text;
}

} // namespace host
