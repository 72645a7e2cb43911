// benchmark_main.cpp - the benchmarks' entry: a logger that formats every record and prints none.
#include <benchmark/benchmark.h>

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
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
