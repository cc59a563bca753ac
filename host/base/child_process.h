#pragma once

// Running a program as a child process and collecting its standard output, within a time limit and an
// output limit (Linux build). The child starts with standard input on /dev/null, standard error on /dev/null
// or joined to its output, no other open descriptor of the tool, and no blocked signals; it is always
// reaped, also when reading fails.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace host {

struct ChildOptions {
    std::vector<std::string> settings; // "NAME=value" added to the tool's environment (ChildEnvironment)
    bool joinErrors = false;           // standard error goes where standard output goes
    double seconds = 60.0;             // from the start to the child's end; then it is killed
    std::size_t outputBytes = 0;       // more output than this and it is killed; 0 for no limit
};

struct ChildResult {
    enum class End {
        NotStarted,    // `status` holds the error (errno) that kept the program from starting
        Exited,        // `status` holds the exit status
        Signalled,     // `status` holds the signal
        TimedOut,      // killed at the time limit
        TooMuchOutput, // killed at the output limit
    };
    End end = End::Exited;
    int status = 0;
    std::string output;          // what the child wrote to its standard output (up to the limit)
    std::size_t outputBytes = 0; // how many bytes it wrote (up to the limit)
};

// Takes the child's output piece by piece as it arrives, instead of collecting it.
using ChildOutputSink = std::function<void(std::string_view)>;

// Runs `program` with `arguments`: a name without '/' is looked for on the tool's PATH, as a shell does, but
// no shell runs it. Throws std::runtime_error when the tool cannot watch a child (no pipe); a program that
// cannot be started ends as NotStarted. With `sink`, the output goes to it as it arrives (within the output
// limit) and `output` stays empty; the child is killed and reaped when the sink throws.
ChildResult RunChild(const std::string& program, const std::vector<std::string>& arguments,
                     const ChildOptions& options, const ChildOutputSink& sink = {});

// The environment `environment` (a null-terminated list of "NAME=value") with `settings` added, each in
// place of a variable of the same name.
std::vector<std::string> ChildEnvironment(const char* const* environment,
                                          const std::vector<std::string>& settings);

// The name of a signal as the C library's headers spell it ("SIGBUS"), or "signal N".
std::string SignalName(int signal);

} // namespace host
