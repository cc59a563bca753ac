#include "host/scene/frame_list.h"

#include <algorithm>
#include <cstdlib>

namespace host {

namespace {

// A frame number: digits only, from 0 to kMaxFrame.
bool ParseFrame(const std::string& text, int& frame) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const long value = std::strtol(text.c_str(), nullptr, 10);
    if (value > kMaxFrame)
        return false;
    frame = static_cast<int>(value);
    return true;
}

// Where the file name of a path starts: after the last separator of either platform.
std::size_t FileNameStart(const std::string& path) {
    const std::size_t separator = path.find_last_of("/\\");
    return separator == std::string::npos ? 0 : separator + 1;
}

} // namespace

std::string ParseFrameList(const std::string& text, std::vector<int>& frames, const std::string& option) {
    const std::string usage = option + " takes frames and ranges of frames from 0 to " +
                              std::to_string(kMaxFrame) +
                              ", separated by commas (such as 0-30 or 1,8-9,24), not '" + text + "'";
    std::vector<int> parsed;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        const std::string item =
            text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (!item.empty() && item[0] == '-')
            return option + " takes no negative frame ('" + item +
                   "'): their file names would not sort in frame order";
        const std::size_t dash = item.find('-');
        int first = 0, last = 0;
        if (dash == std::string::npos) {
            if (!ParseFrame(item, first))
                return usage;
            last = first;
        } else if (!ParseFrame(item.substr(0, dash), first) || !ParseFrame(item.substr(dash + 1), last)) {
            return usage;
        } else if (last < first) {
            return option + " takes ranges FIRST-LAST with FIRST no greater than LAST, not '" + item + "'";
        }
        for (int frame = first; frame <= last; ++frame)
            parsed.push_back(frame);
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    std::sort(parsed.begin(), parsed.end());
    const auto twice = std::adjacent_find(parsed.begin(), parsed.end());
    if (twice != parsed.end())
        return option + " asks for frame " + std::to_string(*twice) + " twice in '" + text + "'";
    frames = std::move(parsed);
    return std::string();
}

std::string FrameListText(const std::vector<int>& frames) {
    std::string text;
    for (std::size_t i = 0; i < frames.size();) {
        std::size_t j = i;
        while (j + 1 < frames.size() && frames[j + 1] == frames[j] + 1)
            ++j;
        if (!text.empty())
            text += ',';
        text += std::to_string(frames[i]);
        if (j > i)
            text += '-' + std::to_string(frames[j]);
        i = j + 1;
    }
    return text;
}

std::vector<std::vector<int>> FrameChunks(const std::vector<int>& frames, int size) {
    std::vector<std::vector<int>> chunks;
    for (std::size_t i = 0; i < frames.size(); i += static_cast<std::size_t>(size))
        chunks.emplace_back(frames.begin() + static_cast<std::ptrdiff_t>(i),
                            frames.begin() + static_cast<std::ptrdiff_t>(std::min(
                                                 frames.size(), i + static_cast<std::size_t>(size))));
    return chunks;
}

std::string FramePatternProblem(const std::string& pattern) {
    const std::size_t name = FileNameStart(pattern);
    if (pattern.find('#', name) == std::string::npos)
        return "a sequence needs an output file name with a run of '#' for the frame number, such as "
               "seq_####.png, not '" +
               pattern + "'";
    if (pattern.find('#') < name)
        return "the output's folder '" + pattern.substr(0, name) +
               "' holds a '#': only the file name may hold the run of '#' that the frame number replaces";
    return std::string();
}

std::string FrameFileName(const std::string& pattern, int frame) {
    const std::size_t name = FileNameStart(pattern);
    const std::size_t end = pattern.find_last_of('#');
    if (end == std::string::npos || end < name)
        return pattern;
    std::size_t start = end;
    while (start > name && pattern[start - 1] == '#')
        --start;
    std::string number = std::to_string(frame);
    const std::size_t width = end - start + 1;
    if (number.size() < width)
        number.insert(0, width - number.size(), '0');
    return pattern.substr(0, start) + number + pattern.substr(end + 1);
}

} // namespace host
