// child_process_posix.cpp - child processes with posix_spawn, their pipes read with poll.
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>

#include "child_process.h"

extern char** environ;

namespace HuxTest {

struct ChildProcess::System {
    static constexpr useconds_t kPollMicroseconds = 10'000;

    pid_t pid = -1;
    int outFd = -1;
    int errFd = -1;
    ProcessOutput output;

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
};

ChildProcess::ChildProcess(const std::vector<std::string>& arguments) : system(std::make_unique<System>()) {
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
    argv.reserve(arguments.size() + 1);
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    if (posix_spawn(&system->pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        system->pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    close(outPipe[1]);
    close(errPipe[1]);
    system->outFd = outPipe[0];
    system->errFd = errPipe[0];
}

ChildProcess::~ChildProcess() {
    if (system->pid > 0) {
        kill(system->pid, SIGKILL);
        waitpid(system->pid, nullptr, 0);
    }
    if (system->outFd >= 0) {
        close(system->outFd);
    }
    if (system->errFd >= 0) {
        close(system->errFd);
    }
}

bool ChildProcess::Started() const {
    return system->pid > 0;
}

bool ChildProcess::Interrupt() const {
    return system->pid > 0 && kill(system->pid, SIGINT) == 0;
}

bool ChildProcess::WaitForOutput(const std::string& text, Clock::time_point deadline) {
    while (system->output.out.find(text) == std::string::npos) {
        if (!system->ReadSome(deadline)) {
            return false;
        }
    }
    return true;
}

ProcessOutput ChildProcess::Finish(Clock::time_point deadline) {
    while (system->ReadSome(deadline)) {
    }
    if (system->pid > 0) {
        int status = 0;
        while (waitpid(system->pid, &status, WNOHANG) == 0) {
            if (Clock::now() >= deadline) {
                return system->output;
            }
            usleep(System::kPollMicroseconds);
        }
        system->pid = -1;
        system->output.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    return system->output;
}

const ProcessOutput& ChildProcess::Output() const {
    return system->output;
}

}  // namespace HuxTest
