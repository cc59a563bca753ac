// Timings of palette extraction: one k-means iteration at the largest cluster count (k = 130) on a full
// grid of 65,536 samples, whole clustering runs, and whole extractions.
//
//   palette_bench --benchmark_filter=... (each benchmark reports mean, median and spread of 15 runs)
#include "palette/extraction.h"
#include "palette/kmeans.h"
#include "palette/lloyd_pass.h"

#include "test_images.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

namespace {

constexpr uint32_t kLargestK = 130;
constexpr int kRepetitions = 15;

// Aqua.jpg (2560 × 1600) read on a 256 × 256 grid, to have the largest sample count from a photograph.
const std::vector<float>& PhotoSamples() {
    static const std::vector<float> samples = [] {
        const TestImage image = LoadTestImage("Aqua.jpg");
        if (image.pixels.empty())
            std::abort();
        std::vector<float> grid;
        for (uint32_t row = 0; row < 256; ++row) {
            for (uint32_t column = 0; column < 256; ++column) {
                const AColor& p =
                    image.pixels[size_t{row * image.height / 256} * image.width + column * image.width / 256];
                grid.insert(grid.end(), {p.r, p.g, p.b, p.a});
            }
        }
        return grid;
    }();
    return samples;
}

// A 256 × 256 image of smooth gradients. Seeds come from its upper half only, so the centres creep
// downwards and extraction at k = 130 needs 37 passes, where photographs settle in one to three.
const std::vector<AColor>& GradientPixels() {
    static const std::vector<AColor> pixels = [] {
        std::vector<AColor> image;
        for (int y = 0; y < 256; ++y) {
            for (int x = 0; x < 256; ++x) {
                const float fy = static_cast<float>(y) / 255.0f;
                image.emplace_back(fy, fy * fy, 0.25f * static_cast<float>(x) / 255.0f, 1.0f);
            }
        }
        return image;
    }();
    return pixels;
}

// The seed centres of a run: the centres of its first iteration.
std::vector<float> SeedCentres(const std::vector<float>& samples, uint32_t k) {
    KMeans seeds(k);
    seeds.Run(samples.data(), 1e30f, static_cast<uint32_t>(samples.size() / 4), 4);
    return std::vector<float>(seeds.Centre(0), seeds.Centre(0) + size_t{k} * 4);
}

KMeansExecution Execution(const benchmark::State& state) {
    return KMeansExecution{static_cast<uint32_t>(state.range(0)), SimdLevel::Best, state.range(1) != 0};
}

// Arguments: threads (0: all), pruning (0 or 1).
void KMeansIteration(benchmark::State& state) {
    const std::vector<float>& samples = PhotoSamples();
    const uint32_t n = static_cast<uint32_t>(samples.size() / 4);
    const std::vector<float> centres = SeedCentres(samples, kLargestK);
    LloydPass pass(samples.data(), n, kLargestK, Execution(state));
    std::vector<uint32_t> indices(n);
    std::vector<float> means(centres.size());
    for (auto _ : state) {
        pass.Iterate(centres.data(), indices.data(), means.data());
        benchmark::DoNotOptimize(means.data());
    }
}

void KMeansRun(benchmark::State& state) {
    const std::vector<float>& samples = PhotoSamples();
    uint32_t iterations = 0;
    for (auto _ : state) {
        KMeans kmeans(kLargestK, Execution(state));
        benchmark::DoNotOptimize(
            kmeans.Run(samples.data(), 0.05f, static_cast<uint32_t>(samples.size() / 4), 4));
        iterations = kmeans.Iterations();
    }
    state.counters["iterations"] = iterations;
}

// The whole extraction from pixels: grid, clustering, keys, palette, skip and truncation.
void Extraction(benchmark::State& state, const std::vector<AColor>& pixels, uint32_t width, uint32_t height) {
    uint32_t iterations = 0;
    for (auto _ : state) {
        const SampleGrid grid = BuildSampleGrid(width, height, pixels);
        const ExtractionResult result = ExtractPaletteFromGrid(grid, 100, 30, Execution(state));
        benchmark::DoNotOptimize(result.palette.data());
        iterations = result.iterations;
    }
    state.counters["iterations"] = iterations;
}

void GradientExtraction(benchmark::State& state) {
    Extraction(state, GradientPixels(), 256, 256);
}

void PhotoExtraction(benchmark::State& state) {
    static const TestImage image = LoadTestImage("Aqua.jpg");
    Extraction(state, image.pixels, image.width, image.height);
}

void Configure(benchmark::internal::Benchmark* benchmark) {
    benchmark->ArgNames({"threads", "pruning"})
        ->Args({1, 1})
        ->Args({0, 1})
        ->Args({0, 0})
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Repetitions(kRepetitions)
        ->ReportAggregatesOnly(true);
}

} // namespace

BENCHMARK(KMeansIteration)->Apply(Configure);
BENCHMARK(KMeansRun)->Apply(Configure);
BENCHMARK(GradientExtraction)->Apply(Configure);
BENCHMARK(PhotoExtraction)->Apply(Configure);
