// child_process.h - running hux-host as a separate process from a test, every wait bounded in time.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

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
    explicit ChildProcess(const std::vector<std::string>& arguments);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const;

    // Interrupt asks the child to stop as Ctrl-C at its terminal would (SIGINT) and answers true; false
    // where the system cannot do that for a child without a console of its own (Windows: console events
    // reach only the processes of the sender's console), and the child goes on.
    bool Interrupt() const;

    // WaitForOutput reads until standard output holds text or the deadline passes; answers whether it
    // does.
    bool WaitForOutput(const std::string& text, Clock::time_point deadline);

    // Finish reads everything until both pipes close and the process ends, or until the deadline; then
    // the process is killed and its exit code is -1.
    ProcessOutput Finish(Clock::time_point deadline);

    const ProcessOutput& Output() const;

private:
    struct System;
    std::unique_ptr<System> system;
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
