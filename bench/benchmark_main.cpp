// benchmark_main.cpp - the benchmarks' entry: a logger that formats every record and prints none, and
// the check that every reader agrees on the inputs before anything is timed.
#include <benchmark/benchmark.h>

#include "bench/peer_agreement.h"
#include "logging/console_log_targets.h"
#include "logging/logger.h"

int main(int argc, char** argv) {
    // Queue building logs what it finds odd in the recorded platform, as it does in the plugin; the
    // records are made and then dropped, so their cost is measured without filling the output.
    const Brix::LoggerReference logger;
    Brix::LoggerControl::StdErrTarget()->Unregister();
    Brix::LoggerControl::DebuggerConsoleTarget()->Unregister();

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    Brix::Bench::CheckPeersAgree();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
