// child_process.h - running hux-host as a separate process from a test, every wait bounded in time.
#pragma once

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace HuxTest {

using Clock = std::chrono::steady_clock;

// ProcessOutput is what a finished process wrote and how it ended.
struct ProcessOutput {
    int exitCode = -1;  // -1 when it did not end by itself in time
    std::string out;
    std::string err;
};

// ChildProcess is a program started with its standard output and error on pipes. The destructor kills
// a child that is still running.
class ChildProcess {
public:
    explicit ChildProcess(const std::vector<std::string>& arguments) {
        std::array<int, 2> outPipe{};
        std::array<int, 2> errPipe{};
        if (pipe(outPipe.data()) != 0 || pipe(errPipe.data()) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
        posix_spawn_file_actions_addclose(&actions, outPipe[0]);
        posix_spawn_file_actions_addclose(&actions, errPipe[0]);
        std::vector<char*> argv;
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
            pid = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        close(outPipe[1]);
        close(errPipe[1]);
        outFd = outPipe[0];
        errFd = errPipe[0];
    }

    ~ChildProcess() {
        if (pid > 0) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        if (outFd >= 0) {
            close(outFd);
        }
        if (errFd >= 0) {
            close(errFd);
        }
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return pid > 0; }
    void Signal(int signal) const {
        if (pid > 0) {
            kill(pid, signal);
        }
    }

    // WaitForOutput reads until standard output holds text or the deadline passes; answers whether it does.
    bool WaitForOutput(const std::string& text, Clock::time_point deadline) {
        while (output.out.find(text) == std::string::npos) {
            if (!ReadSome(deadline)) {
                return false;
            }
        }
        return true;
    }

    // Finish reads everything until both pipes close and the process ends, or until the deadline; then
    // the process is killed and its exit code is -1.
    ProcessOutput Finish(Clock::time_point deadline) {
        while (ReadSome(deadline)) {
        }
        if (pid > 0) {
            int status = 0;
            while (waitpid(pid, &status, WNOHANG) == 0) {
                if (Clock::now() >= deadline) {
                    return output;
                }
                usleep(kPollMicroseconds);
            }
            pid = -1;
            output.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        return output;
    }

    const ProcessOutput& Output() const { return output; }

private:
    static constexpr useconds_t kPollMicroseconds = 10'000;

    // ReadSome waits for either pipe until the deadline and reads what is there; false once both pipes
    // are closed or the time is up.
    bool ReadSome(Clock::time_point deadline) {
        std::array<pollfd, 2> fds{{{outFd, POLLIN, 0}, {errFd, POLLIN, 0}}};
        if (outFd < 0 && errFd < 0) {
            return false;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0 || poll(fds.data(), fds.size(), static_cast<int>(left)) <= 0) {
            return false;
        }
        Drain(fds[0], outFd, output.out);
        Drain(fds[1], errFd, output.err);
        return true;
    }

    static void Drain(const pollfd& polled, int& fd, std::string& into) {
        if (fd < 0 || (polled.revents & (POLLIN | POLLHUP | POLLERR)) == 0) {
            return;
        }
        std::array<char, 4096> buffer{};
        const ssize_t length = read(fd, buffer.data(), buffer.size());
        if (length <= 0) {
            close(fd);
            fd = -1;
            return;
        }
        into.append(buffer.data(), static_cast<std::size_t>(length));
    }

    pid_t pid = -1;
    int outFd = -1;
    int errFd = -1;
    ProcessOutput output;
};

// RunProgram runs a program (arguments[0]) to its end, waiting at most timeout.
inline ProcessOutput RunProgram(const std::vector<std::string>& arguments,
                                std::chrono::seconds timeout = std::chrono::seconds(120)) {
    ChildProcess child(arguments);
    if (!child.Started()) {
        return {};
    }
    return child.Finish(Clock::now() + timeout);
}

}  // namespace HuxTest
