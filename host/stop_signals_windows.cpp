// stop_signals_windows.cpp - console control events (Ctrl-C, Ctrl-Break, closing the console) kept by
// a handler until the server's watcher takes them.
#include <windows.h>

#include <atomic>

#include "stop_signals.h"

namespace HuxHost {

namespace {

std::atomic<DWORD> pendingEvent{~DWORD{0}};

BOOL WINAPI KeepControlEvent(DWORD event) {
    pendingEvent.store(event);
    return TRUE;  // handled: the process goes on until the server has stopped
}

}  // namespace

void CatchStopSignals() {
    SetConsoleCtrlHandler(&KeepControlEvent, TRUE);
}

std::string WaitForStopSignal(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const DWORD event = pendingEvent.exchange(~DWORD{0});
        if (event != ~DWORD{0}) {
            return event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT ? "interrupted" : "terminated";
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return {};
        }
        Sleep(20);
    }
}

}  // namespace HuxHost
