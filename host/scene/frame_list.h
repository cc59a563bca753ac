#pragma once

// The frames of a sequence as the user gives them ("0-30", "1,8-9,24") and the files they are written to.
#include <string>
#include <vector>

namespace host {

// Frames as far as ticks in a 32-bit time value reach at 30 frames a second.
inline constexpr int kMaxFrame = 10000000;

// Reads a list of frames and ranges separated by commas ("1,8-9,24") into `frames`, in ascending order.
// Frames run from 0 to kMaxFrame (a negative frame would have no file name that sorts in frame order); a
// frame asked twice is refused. Returns an error message naming `option`, empty on success.
std::string ParseFrameList(const std::string& text, std::vector<int>& frames,
                           const std::string& option = "--frames");

// Ascending frames written back as a list, runs of consecutive frames as ranges: {1, 8, 9, 24} gives
// "1,8-9,24".
std::string FrameListText(const std::vector<int>& frames);

// Ascending frames cut into chunks of `size` frames each in order, the last one possibly smaller.
std::vector<std::vector<int>> FrameChunks(const std::vector<int>& frames, int size);

// Why `pattern` cannot name the files of a sequence: its file name has no run of '#' for the frame number,
// or a folder of its path holds a '#'. Empty when it can.
std::string FramePatternProblem(const std::string& pattern);

// The file of a frame of a sequence: the last run of '#' in the pattern's file name replaced by the frame
// number (0 or more), padded with zeros to the run's length. The folders are left as they are.
std::string FrameFileName(const std::string& pattern, int frame);

} // namespace host
