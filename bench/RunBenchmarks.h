// SPDX-License-Identifier: MIT
#pragma once

#include "core/Clock.h"
#include "core/ErrorHandler.h"

#include <benchmark/benchmark.h>

// Runs the benchmarks named on the command line inside an application object, on the offscreen
// platform unless another one is asked for, so that widget benchmarks and plain ones share a main.
inline int RunBenchmarks(int argc, char** argv, benchmark::BenchmarkReporter* reporter = nullptr) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    KeepSystemTimeZoneForTheRun(); // as the program does
    TApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks(reporter);
    benchmark::Shutdown();
    return 0;
}
