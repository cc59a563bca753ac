// How the tool starts a program: found on the PATH with no shell between, its arguments passed as they
// are, its error output joined to its output or dropped, and its environment the tool's with settings added.
// (What becomes of a child that crashes, hangs or floods: import/model_reader_process_tests.cpp.)
#include "host/base/child_process.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

namespace {

using host::ChildResult;

TEST(ChildProcess, RunsAProgramFromThePathWithItsArgumentsAsTheyAre) {
    // A shell would expand or split these; the program must see each one whole.
    const ChildResult result = host::RunChild("printf", {"[%s]", "a b", "$HOME", "'q'", "*", ""}, {});
    EXPECT_EQ(result.end, ChildResult::End::Exited);
    EXPECT_EQ(result.output, "[a b][$HOME]['q'][*][]");
    // A command line is no program's name.
    for (const char* program : {"no-such-program-here", "true; exit 3", "/nonexistent/true"}) {
        const ChildResult missing = host::RunChild(program, {}, {});
        EXPECT_EQ(missing.end, ChildResult::End::NotStarted) << program;
        // A search of the PATH that passed a folder it may not enter says so (EACCES), as execvp does.
        EXPECT_TRUE(missing.status == ENOENT || missing.status == EACCES)
            << program << ": " << missing.status;
    }
}

TEST(ChildProcess, ErrorOutputJoinsTheOutputOnlyWhenAsked) {
    host::ChildOptions options;
    const std::vector<std::string> both = {"-c", "echo out; echo error >&2; echo more"};
    EXPECT_EQ(host::RunChild("sh", both, options).output, "out\nmore\n");
    options.joinErrors = true;
    EXPECT_EQ(host::RunChild("sh", both, options).output, "out\nerror\nmore\n");
}

TEST(ChildProcess, SettingsJoinTheEnvironmentInPlaceOfTheirNames) {
    const char* const environment[] = {"PATH=/bin", "A=1", "AB=2", "EMPTY=", nullptr};
    EXPECT_EQ(host::ChildEnvironment(environment, {}),
              (std::vector<std::string>{"PATH=/bin", "A=1", "AB=2", "EMPTY="}));
    EXPECT_EQ(host::ChildEnvironment(environment, {"A=3", "NEW=x", "EMPTY=y"}),
              (std::vector<std::string>{"PATH=/bin", "AB=2", "A=3", "NEW=x", "EMPTY=y"}))
        << "A replaced, not AB; EMPTY replaced";
}

} // namespace
