// SPDX-License-Identifier: MIT
// Speed of the water effect. Goals: a rippling frame (a propagation step and a drawing) at most
// 0.8 ns per pixel at 1920 x 1080, a frame of still water at most twice a memcpy of the frame, and
// a storm frame of the about box's 334 x 57 banner at most 40 us. Copying the same frame with
// memcpy is measured alongside, and the ratio printed, to judge the machine.
#include "RunBenchmarks.h"
#include "about/TWaterEffect.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

struct Frame {
    Frame(int width, int height)
        : width(width), height(height), source(static_cast<std::size_t>(width) * height * 3),
          target(source.size()) {
        std::uint32_t seed = 12345;
        for (std::uint8_t& byte : source) {
            seed = seed * 1664525u + 1013904223u;
            byte = static_cast<std::uint8_t>(seed >> 24);
        }
    }
    TSourcePixels Source() const {
        return {source.data(), width, height, 3 * static_cast<std::ptrdiff_t>(width)};
    }
    TTargetPixels Target() { return {target.data(), width, height, 3 * static_cast<std::ptrdiff_t>(width)}; }
    int width;
    int height;
    std::vector<std::uint8_t> source;
    std::vector<std::uint8_t> target;
};

using Generator = std::mt19937;

TRandomSource RandomFrom(Generator& generator) {
    return [&generator](int range) { return std::uniform_int_distribution<int>(0, range - 1)(generator); };
}

// Rippling water as the water picture control makes it, only livelier: every frame one random
// drop (radius 1 or 2, strength 100 to strongest) and a mouse trail of three drops of strength
// 100 moving across the picture. The control itself drops one random drop in 17 frames.
void BM_RenderFrame(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const int strongest = width > 1000 ? 599 : 104; // the control's default RandomBlob, the about box's
    Generator generator(7);
    TWaterEffect water(RandomFrom(generator));
    water.SetMapSize(width, height);
    Frame frame(width, height);
    int frameNumber = 0;
    const auto disturb = [&] {
        water.AddBlob(-1, -1, 1 + static_cast<int>(generator() % 2),
                      100 + static_cast<int>(generator() % (strongest - 99)));
        for (int step = 0; step < 3; ++step) {
            const int x = (frameNumber * 7 + step * 2) % width;
            const int y = height / 2 + static_cast<int>((x / 3) % (height / 3 + 1)) - height / 6;
            water.AddBlob(x, y, 1, 100);
        }
        ++frameNumber;
    };
    for (int i = 0; i < 100; ++i) {
        disturb();
        water.RenderFrame(frame.Source(), frame.Target());
    }
    for (auto _ : state) {
        disturb();
        water.RenderFrame(frame.Source(), frame.Target());
        benchmark::DoNotOptimize(frame.target.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * width * height);
}
BENCHMARK(BM_RenderFrame)->Args({1920, 1080})->Args({334, 57})->Unit(benchmark::kMicrosecond);

// A storm: the whole surface covered with strong waves, one drop of strength 400 per 20000 pixels
// every frame. Strong slopes make the drawing sample pixels hundreds of rows away, so at full-HD
// size this measures the memory more than the code.
void BM_RenderFrameStorm(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    Generator generator(7);
    TWaterEffect water(RandomFrom(generator));
    water.SetMapSize(width, height);
    Frame frame(width, height);
    const int dropsPerFrame = std::max(1, width * height / 20000);
    for (int i = 0; i < 40; ++i) {
        for (int drop = 0; drop < dropsPerFrame * 4; ++drop)
            water.AddBlob(-1, -1, 2, 400);
        water.RenderFrame(frame.Source(), frame.Target());
    }
    for (auto _ : state) {
        for (int drop = 0; drop < dropsPerFrame; ++drop)
            water.AddBlob(-1, -1, 2, 400);
        water.RenderFrame(frame.Source(), frame.Target());
        benchmark::DoNotOptimize(frame.target.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * width * height);
}
BENCHMARK(BM_RenderFrameStorm)->Args({1920, 1080})->Args({334, 57})->Unit(benchmark::kMicrosecond);

void BM_StillWaterFrame(benchmark::State& state) {
    TWaterEffect water;
    water.SetMapSize(1920, 1080);
    Frame frame(1920, 1080);
    for (auto _ : state) {
        water.RenderFrame(frame.Source(), frame.Target());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 1920 * 1080);
}
BENCHMARK(BM_StillWaterFrame)->Unit(benchmark::kMicrosecond);

void BM_MemcpyFrame(benchmark::State& state) {
    Frame frame(1920, 1080);
    for (auto _ : state) {
        std::memcpy(frame.target.data(), frame.source.data(), frame.source.size());
        benchmark::DoNotOptimize(frame.target.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 1920 * 1080);
}
BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMicrosecond);

// Prints, from CPU time (the machine may be shared), the per-pixel cost of each 1920 x 1080 run,
// its ratio to copying the frame with memcpy, and the banner's time per frame.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.iterations == 0)
                continue;
            const double ns =
                run.GetAdjustedCPUTime() * (run.time_unit == benchmark::kMicrosecond ? 1000.0 : 1.0);
            const std::string name = run.benchmark_name();
            const bool fullHd = name.find("/1920/1080") != std::string::npos ||
                                name == "BM_StillWaterFrame" || name == "BM_MemcpyFrame";
            if (fullHd)
                nsPerPixel_[name] = ns / (1920.0 * 1080.0);
            else
                usPerFrame_[name] = ns / 1000.0;
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const double copy = nsPerPixel_.count("BM_MemcpyFrame") ? nsPerPixel_["BM_MemcpyFrame"] : 0.0;
        std::printf(
            "\nPer pixel at 1920 x 1080 (CPU time; goals: RenderFrame 0.8 ns, still water 2 x memcpy):\n");
        for (const auto& [name, ns] : nsPerPixel_)
            std::printf("  %-32s %6.3f ns  %5.1f x memcpy\n", name.c_str(), ns, copy > 0 ? ns / copy : 0.0);
        std::printf("Per frame at 334 x 57 (CPU time; goal for the storm 40 us):\n");
        for (const auto& [name, us] : usPerFrame_)
            std::printf("  %-32s %6.2f us\n", name.c_str(), us);
    }

private:
    std::map<std::string, double> nsPerPixel_;
    std::map<std::string, double> usPerFrame_;
};

} // namespace

int main(int argc, char** argv) {
    RatioReporter reporter;
    return RunBenchmarks(argc, argv, &reporter);
}
