#pragma once

// What the host needs from the operating system, implemented once per platform.
#include <filesystem>
#include <string>

namespace host {

// The running executable's file; empty when the system cannot say.
std::filesystem::path ExecutableFile();
// The directory holding the running executable.
std::filesystem::path ExecutableDirectory();

// A loaded dynamic library. Open returns null and fills `error` when the file cannot be loaded.
struct ModuleHandle;
ModuleHandle* OpenModule(const std::filesystem::path& file, std::string& error);
void* FindExport(ModuleHandle* module, const char* name);
void CloseModule(ModuleHandle* module);

// The system's words for the error of the call that just failed (errno, GetLastError), for messages.
std::string LastSystemErrorText();

} // namespace host

namespace host {

// True when standard output is a terminal that shows colours (and NO_COLOR is not set).
bool StdoutSupportsColour();

// Standard output carries the bytes the commands write, without turning line ends into CR LF, so that
// output saved from the tool is the same file in every build.
void WriteStdoutAsBytes();

} // namespace host
