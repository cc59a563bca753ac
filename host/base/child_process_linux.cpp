#include "host/base/child_process.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstring>
#include <stdexcept>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace host {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPipeBytes = 1 << 20;

[[noreturn]] void Fail(const char* what, int error) {
    throw std::runtime_error(std::string("cannot run the child process: ") + what + ": " +
                             std::strerror(error));
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

// What the C library does in the child before the program starts: output into the pipe's end `output`,
// errors there too or to /dev/null, input from /dev/null, every other descriptor closed (also those opened
// without close-on-exec), no signal blocked and SIGPIPE back to its default. `error` is the first failure
// to record them (no memory), or 0.
class SpawnSettings {
public:
    SpawnSettings(int output, bool joinErrors) {
        posix_spawn_file_actions_init(&files);
        posix_spawnattr_init(&attributes);
        // Output first: the pipe's end is descriptor 0 or 2 when the tool runs without them.
        Note(posix_spawn_file_actions_adddup2(&files, output, 1));
        Note(joinErrors ? posix_spawn_file_actions_adddup2(&files, output, 2)
                        : posix_spawn_file_actions_addopen(&files, 2, "/dev/null", O_WRONLY, 0));
        Note(posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0));
        Note(posix_spawn_file_actions_addclosefrom_np(&files, 3));
        sigset_t none, pipe;
        sigemptyset(&none);
        sigemptyset(&pipe);
        sigaddset(&pipe, SIGPIPE);
        Note(posix_spawnattr_setsigmask(&attributes, &none));
        Note(posix_spawnattr_setsigdefault(&attributes, &pipe));
        Note(posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF));
    }
    SpawnSettings(const SpawnSettings&) = delete;
    SpawnSettings& operator=(const SpawnSettings&) = delete;
    ~SpawnSettings() {
        posix_spawn_file_actions_destroy(&files);
        posix_spawnattr_destroy(&attributes);
    }
    posix_spawn_file_actions_t files;
    posix_spawnattr_t attributes;

    int error = 0;

private:
    void Note(int failure) {
        if (error == 0)
            error = failure;
    }
};

// A started child, killed and reaped when it goes out of scope unreaped, so that no error path leaves a
// running child or a zombie behind. Until it is reaped, its process ID names no other process.
class Child {
public:
    explicit Child(pid_t pid) : pid(pid) {}
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    ~Child() {
        if (pid > 0)
            Kill();
    }
    // The reader has no process group of its own (so that the terminal's Ctrl-C reaches it with the
    // tool), and starts no processes: the signal goes to it alone.
    void Kill() {
        kill(pid, SIGKILL);
        Reap();
    }
    int Reap() {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        pid = -1;
        return status;
    }

private:
    pid_t pid;
};

// `words` as the null-terminated list that exec takes, valid while `words` is.
std::vector<char*> Pointers(std::vector<std::string>& words) {
    std::vector<char*> pointers;
    for (std::string& word : words)
        pointers.push_back(word.data());
    pointers.push_back(nullptr);
    return pointers;
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
                     const ChildOptions& options, const ChildOutputSink& sink) {
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<std::string> variables = ChildEnvironment(environ, options.settings);
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0)
        Fail("pipe", errno);
    Descriptor readEnd(ends[0]), writeEnd(ends[1]);

    const Clock::time_point deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                                          std::chrono::duration<double>(options.seconds));
    const SpawnSettings spawn(writeEnd.fd, options.joinErrors);
    if (spawn.error != 0)
        Fail("posix_spawn settings", spawn.error);
    // posix_spawnp searches the PATH only for a name without '/', and returns the error of a program that
    // cannot be started.
    ChildResult result;
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, program.c_str(), &spawn.files, &spawn.attributes,
                                   Pointers(words).data(), Pointers(variables).data());
    if (error != 0) {
        result.end = ChildResult::End::NotStarted;
        result.status = error;
        return result;
    }
    Child child(pid);
    writeEnd.Close(); // so that the pipe ends when the child's copy does
    // Readable once the child has ended: its output and its end are waited for together, until the deadline.
    // (Through syscall: Debian 12's <sys/pidfd.h> declares pidfd_open without C linkage for C++.)
    const Descriptor ended(static_cast<int>(syscall(SYS_pidfd_open, pid, 0)));
    if (ended.fd < 0)
        Fail("pidfd_open", errno);

    // A larger pipe lets a child that writes much hand it over in fewer turns; the default size still works.
    fcntl(readEnd.fd, F_SETPIPE_SZ, kPipeBytes);
    std::vector<char> buffer(kPipeBytes);
    for (bool reading = true, running = true; reading || running;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            child.Kill();
            result.end = ChildResult::End::TimedOut;
            return result;
        }
        // poll leaves out a negative descriptor: the output once it has ended, the child once it has.
        pollfd watched[] = {{reading ? readEnd.fd : -1, POLLIN, 0}, {running ? ended.fd : -1, POLLIN, 0}};
        if (poll(watched, 2, static_cast<int>(std::min<decltype(left)>(left, INT_MAX))) < 0) {
            if (errno != EINTR)
                Fail("poll", errno);
            continue;
        }
        running = running && watched[1].revents == 0;
        if (watched[0].revents == 0)
            continue;
        const ssize_t got = read(readEnd.fd, buffer.data(), buffer.size());
        if (got < 0) {
            if (errno != EINTR)
                Fail("read", errno);
            continue;
        }
        reading = got > 0;
        const std::string_view piece(buffer.data(), static_cast<std::size_t>(got));
        if (options.outputBytes != 0 && result.outputBytes + piece.size() > options.outputBytes) {
            child.Kill();
            result.end = ChildResult::End::TooMuchOutput;
            return result;
        }
        result.outputBytes += piece.size();
        if (!sink)
            result.output.append(piece);
        else if (!piece.empty())
            sink(piece);
    }
    const int status = child.Reap();
    result.end = WIFSIGNALED(status) ? ChildResult::End::Signalled : ChildResult::End::Exited;
    result.status = WIFSIGNALED(status) ? WTERMSIG(status) : WEXITSTATUS(status);
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
