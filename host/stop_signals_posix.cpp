// stop_signals_posix.cpp - SIGINT and SIGTERM, blocked in every thread and taken with sigtimedwait.
#include <pthread.h>
#include <signal.h>

#include <csignal>

#include "stop_signals.h"

namespace HuxHost {

namespace {

sigset_t StopSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    return signals;
}

}  // namespace

void CatchStopSignals() {
    const sigset_t signals = StopSignals();
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

std::string WaitForStopSignal(std::chrono::milliseconds timeout) {
    const sigset_t signals = StopSignals();
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(timeout);
    const timespec tick{static_cast<time_t>(seconds.count()),
                        static_cast<long>(std::chrono::nanoseconds(timeout - seconds).count())};
    siginfo_t info{};
    if (sigtimedwait(&signals, &info, &tick) <= 0) {
        return {};
    }
    return info.si_signo == SIGINT ? "interrupted" : "terminated";
}

}  // namespace HuxHost
