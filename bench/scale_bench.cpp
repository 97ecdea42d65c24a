// SPDX-License-Identifier: MIT
// Speed of the scale link. Round trip: a request written to a virtual scale that answers at once,
// through the real reader thread and the hand-over, until the handler runs on the GUI thread
// (goal: median at most 100 us). Stopping a reader, idle and under a constant stream of reports
// (goal: at most ReaderSleepTime + 10 ms).
#include "RunBenchmarks.h"
#include "scale/ScaleProtocol.h"
#include "scale/THidDeviceController.h"
#include "scale/VirtualHidBackend.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <chrono>
#include <vector>

namespace {

// A controller with one claimed virtual scale, as the program has it after the scale arrived.
struct Link {
    Link() {
        auto virtualBackend = std::make_unique<VirtualHidBackend>();
        scale = &virtualBackend->plugIn();
        controller = std::make_unique<THidDeviceController>(std::move(virtualBackend));
        while (controller->Devices().empty())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        device = controller->Devices().front();
        controller->ClaimDevice(device);
    }
    std::unique_ptr<THidDeviceController> controller;
    VirtualScale* scale = nullptr;
    THidDevice* device = nullptr;
};

void ReportDistribution(benchmark::State& state, std::vector<double> microseconds) {
    if (microseconds.empty())
        return;
    std::sort(microseconds.begin(), microseconds.end());
    const auto at = [&](double fraction) {
        return microseconds[static_cast<std::size_t>(fraction *
                                                     static_cast<double>(microseconds.size() - 1))];
    };
    state.counters["median_us"] = at(0.5);
    state.counters["p90_us"] = at(0.9);
    state.counters["max_us"] = microseconds.back();
}

void BM_RoundTrip(benchmark::State& state) {
    Link link;
    bool answered = false;
    link.device->SetDataHandler(
        [&](THidDevice*, std::uint8_t, const std::uint8_t*, std::uint16_t) { answered = true; });
    const ScaleRequest request = ReadDataCountRequest(1);
    std::vector<double> latencies;
    for (auto _ : state) {
        answered = false;
        QElapsedTimer timer;
        timer.start();
        std::size_t written = 0;
        link.device->WriteReport(request.data(), request.size(), written);
        while (!answered)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        latencies.push_back(static_cast<double>(timer.nsecsElapsed()) / 1000.0);
    }
    link.device->SetDataHandler(nullptr);
    ReportDistribution(state, std::move(latencies));
}
BENCHMARK(BM_RoundTrip)->Unit(benchmark::kMicrosecond)->Iterations(5000);

// Arg 0: ReaderSleepTime in ms; arg 1: 1 when the scale streams reports without pause.
void BM_StopReader(benchmark::State& state) {
    Link link;
    link.device->SetReaderSleepTime(static_cast<int>(state.range(0)));
    link.scale->setFlooding(state.range(1) != 0);
    int calls = 0;
    std::vector<double> durations;
    for (auto _ : state) {
        link.device->SetDataHandler(
            [&](THidDevice*, std::uint8_t, const std::uint8_t*, std::uint16_t) { ++calls; });
        // Let the reader get going: into its read wait, or into a stream of hand-overs.
        QElapsedTimer settle;
        settle.start();
        while (settle.elapsed() < 15)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        const auto start = std::chrono::steady_clock::now();
        link.device->SetDataHandler(nullptr);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(elapsed.count());
        durations.push_back(elapsed.count() * 1e6);
    }
    link.scale->setFlooding(false);
    ReportDistribution(state, std::move(durations));
    state.counters["handler_calls"] = calls;
}
BENCHMARK(BM_StopReader)
    ->ArgsProduct({{100, 50, 10}, {0, 1}})
    ->ArgNames({"sleep_ms", "streaming"})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(40);

} // namespace

int main(int argc, char** argv) {
    return RunBenchmarks(argc, argv);
}
