// child_process_windows.cpp - child processes with CreateProcess, their pipes read by one thread each.
#include <windows.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "child_process.h"

namespace HuxTest {

namespace {

// CommandLine quotes each argument the way the C runtime of the child splits its command line.
std::string CommandLine(const std::vector<std::string>& arguments) {
    std::string line;
    for (const std::string& argument : arguments) {
        if (!line.empty()) {
            line += ' ';
        }
        line += '"';
        std::size_t backslashes = 0;
        for (const char c : argument) {
            if (c == '\\') {
                ++backslashes;
                continue;
            }
            line.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
            backslashes = 0;
            line += c;
        }
        line.append(backslashes * 2, '\\');
        line += '"';
    }
    return line;
}

}  // namespace

struct ChildProcess::System {
    PROCESS_INFORMATION process{};
    bool started = false;
    std::mutex mutex;
    std::condition_variable changed;
    ProcessOutput output;
    int openPipes = 0;
    std::thread outReader;
    std::thread errReader;

    // Read copies one pipe into text until the child closes it.
    void Read(HANDLE pipe, std::string ProcessOutput::*text) {
        char buffer[4096];
        DWORD length = 0;
        while (ReadFile(pipe, buffer, sizeof buffer, &length, nullptr) && length > 0) {
            std::lock_guard lock(mutex);
            (output.*text).append(buffer, length);
            changed.notify_all();
        }
        CloseHandle(pipe);
        std::lock_guard lock(mutex);
        --openPipes;
        changed.notify_all();
    }

    void Kill() {
        if (started) {
            TerminateProcess(process.hProcess, 1);
            WaitForSingleObject(process.hProcess, INFINITE);
        }
    }
};

ChildProcess::ChildProcess(const std::vector<std::string>& arguments) : system(std::make_unique<System>()) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE outRead = nullptr;
    HANDLE outWrite = nullptr;
    HANDLE errRead = nullptr;
    HANDLE errWrite = nullptr;
    if (!CreatePipe(&outRead, &outWrite, &inherit, 0) || !CreatePipe(&errRead, &errWrite, &inherit, 0)) {
        return;
    }
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = outWrite;
    startup.hStdError = errWrite;
    std::string line = CommandLine(arguments);
    system->started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NEW_PROCESS_GROUP,
                                     nullptr, nullptr, &startup, &system->process) != 0;
    CloseHandle(outWrite);
    CloseHandle(errWrite);
    if (!system->started) {
        CloseHandle(outRead);
        CloseHandle(errRead);
        return;
    }
    system->openPipes = 2;
    system->outReader = std::thread([this, outRead] { system->Read(outRead, &ProcessOutput::out); });
    system->errReader = std::thread([this, errRead] { system->Read(errRead, &ProcessOutput::err); });
}

ChildProcess::~ChildProcess() {
    if (system->started) {
        system->Kill();
        system->outReader.join();
        system->errReader.join();
        CloseHandle(system->process.hThread);
        CloseHandle(system->process.hProcess);
    }
}

bool ChildProcess::Started() const {
    return system->started;
}

bool ChildProcess::Interrupt() const {
    return false;
}

bool ChildProcess::WaitForOutput(const std::string& text, Clock::time_point deadline) {
    std::unique_lock lock(system->mutex);
    return system->changed.wait_until(lock, deadline, [&] {
        return system->output.out.find(text) != std::string::npos || system->openPipes == 0;
    }) && system->output.out.find(text) != std::string::npos;
}

ProcessOutput ChildProcess::Finish(Clock::time_point deadline) {
    {
        std::unique_lock lock(system->mutex);
        system->changed.wait_until(lock, deadline, [&] { return system->openPipes == 0; });
    }
    if (!system->started) {
        return system->output;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (WaitForSingleObject(system->process.hProcess, left > 0 ? static_cast<DWORD>(left) : 0) !=
        WAIT_OBJECT_0) {
        std::lock_guard lock(system->mutex);
        return system->output;
    }
    DWORD code = 0;
    GetExitCodeProcess(system->process.hProcess, &code);
    std::lock_guard lock(system->mutex);
    system->output.exitCode = static_cast<int>(code);
    return system->output;
}

const ProcessOutput& ChildProcess::Output() const {
    return system->output;
}

}  // namespace HuxTest
