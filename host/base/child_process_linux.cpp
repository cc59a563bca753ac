#include "host/base/child_process.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <stdexcept>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace host {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPipeBytes = 1 << 20;

[[noreturn]] void FailSystem(const char* what) {
    throw std::runtime_error(std::string("cannot run the child process: ") + what + ": " +
                             std::strerror(errno));
}

class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { Close(); }
    void Close() {
        if (fd >= 0)
            close(fd);
        fd = -1;
    }
    int fd;
};

// Kills and reaps a child that has not been reaped yet when it goes out of scope, so that no error path
// leaves a running child or a zombie behind.
class ChildProcess {
public:
    explicit ChildProcess(pid_t pid) : pid(pid) {}
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess() {
        if (!reaped)
            KillAndReap();
    }

    // The child's wait status once it has ended; false while it runs.
    bool TryReap(int& status) {
        for (;;) {
            const pid_t done = waitpid(pid, &status, WNOHANG);
            if (done == pid)
                return reaped = true;
            if (done == 0)
                return false;
            if (errno != EINTR)
                FailSystem("waitpid");
        }
    }
    void KillAndReap() {
        kill(pid, SIGKILL);
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        reaped = true;
    }

private:
    pid_t pid;
    bool reaped = false;
};

// In the forked child: every descriptor from `first` on closed, whatever flags it was opened with.
void CloseDescriptorsFrom(int first, int end) {
    if (close_range(static_cast<unsigned>(first), ~0u, 0) == 0)
        return;
    for (int fd = first; fd < end; ++fd)
        close(fd);
}

int MillisecondsUntil(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left <= 0 ? 0 : left > 1000 ? 1000 : static_cast<int>(left);
}

} // namespace

std::vector<std::string> ChildEnvironment(const char* const* environment,
                                          const std::vector<std::string>& settings) {
    const auto name = [](std::string_view variable) { return variable.substr(0, variable.find('=')); };
    std::vector<std::string> merged;
    for (const char* const* variable = environment; *variable != nullptr; ++variable) {
        const std::string_view own = *variable;
        if (std::none_of(settings.begin(), settings.end(),
                         [&](const std::string& setting) { return name(setting) == name(own); }))
            merged.emplace_back(own);
    }
    merged.insert(merged.end(), settings.begin(), settings.end());
    return merged;
}

ChildResult RunChild(const std::string& program, const std::vector<std::string>& arguments,
                     const std::vector<std::string>& settings, const ChildLimits& limits,
                     const ChildOutputSink& sink) {
    // Everything the child needs is made before fork: between fork and exec only async-signal-safe calls.
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    std::vector<std::string> variables = ChildEnvironment(environ, settings);
    std::vector<char*> envp;
    for (std::string& variable : variables)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    rlimit files{};
    const int descriptorEnd = getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < 65536
                                  ? static_cast<int>(files.rlim_cur)
                                  : 65536;

    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0)
        FailSystem("pipe");
    Descriptor readEnd(ends[0]), writeEnd(ends[1]);
    Descriptor nothing(open("/dev/null", O_RDWR | O_CLOEXEC));
    if (nothing.fd < 0)
        FailSystem("/dev/null");

    const Clock::time_point deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                                          std::chrono::duration<double>(limits.seconds));
    const pid_t pid = fork();
    if (pid < 0)
        FailSystem("fork");
    if (pid == 0) {
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        signal(SIGPIPE, SIG_DFL);
        if (dup2(nothing.fd, 0) < 0 || dup2(writeEnd.fd, 1) < 0 || dup2(nothing.fd, 2) < 0)
            _exit(127);
        CloseDescriptorsFrom(3, descriptorEnd);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    ChildProcess child(pid);
    writeEnd.Close(); // so that the pipe ends when the child's copy does
    nothing.Close();

    // A larger pipe lets a child that writes much hand it over in fewer turns; the default size still works.
    fcntl(readEnd.fd, F_SETPIPE_SZ, kPipeBytes);
    ChildResult result;
    std::vector<char> buffer(kPipeBytes);
    for (;;) {
        if (Clock::now() >= deadline) {
            child.KillAndReap();
            result.end = ChildResult::End::TimedOut;
            return result;
        }
        pollfd ready{readEnd.fd, POLLIN, 0};
        const int events = poll(&ready, 1, MillisecondsUntil(deadline));
        if (events < 0 && errno != EINTR)
            FailSystem("poll");
        if (events <= 0)
            continue;
        const ssize_t got = read(readEnd.fd, buffer.data(), buffer.size());
        if (got < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            FailSystem("read");
        }
        if (got == 0)
            break;
        if (limits.outputBytes != 0 &&
            result.outputBytes + static_cast<std::size_t>(got) > limits.outputBytes) {
            child.KillAndReap();
            result.end = ChildResult::End::TooMuchOutput;
            return result;
        }
        result.outputBytes += static_cast<std::size_t>(got);
        const std::string_view piece(buffer.data(), static_cast<std::size_t>(got));
        if (sink)
            sink(piece);
        else
            result.output.append(piece);
    }
    // The output has ended; the child normally ends right after it, but may not.
    int status = 0;
    auto pause = std::chrono::microseconds(100);
    while (!child.TryReap(status)) {
        if (Clock::now() >= deadline) {
            child.KillAndReap();
            result.end = ChildResult::End::TimedOut;
            return result;
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::microseconds(10000));
    }
    if (WIFSIGNALED(status)) {
        result.end = ChildResult::End::Signalled;
        result.status = WTERMSIG(status);
    } else {
        result.end = ChildResult::End::Exited;
        result.status = WEXITSTATUS(status);
    }
    return result;
}

std::string SignalName(int signal) {
    static const struct {
        int number;
        const char* name;
    } kNames[] = {{SIGSEGV, "SIGSEGV"}, {SIGBUS, "SIGBUS"},   {SIGABRT, "SIGABRT"}, {SIGFPE, "SIGFPE"},
                  {SIGILL, "SIGILL"},   {SIGKILL, "SIGKILL"}, {SIGTERM, "SIGTERM"}, {SIGPIPE, "SIGPIPE"},
                  {SIGTRAP, "SIGTRAP"}, {SIGSYS, "SIGSYS"},   {SIGXCPU, "SIGXCPU"}, {SIGXFSZ, "SIGXFSZ"},
                  {SIGINT, "SIGINT"},   {SIGHUP, "SIGHUP"},   {SIGQUIT, "SIGQUIT"}};
    for (const auto& known : kNames)
        if (known.number == signal)
            return known.name;
    return "signal " + std::to_string(signal);
}

} // namespace host
