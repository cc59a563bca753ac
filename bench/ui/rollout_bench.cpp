// What the user waits for when dragging the "# colors" spinner: the rollout's whole handling of one
// spinner change (re-extraction, refresh, count label) on a map whose picture has 24 megapixels, and the
// material editor's sample slot after such a step (the map's update, then the slot's picture rendered on
// the slot's own thread).
//
//   rollout_bench [--benchmark_filter=...]
// The picture is written once to the temporary folder: Aqua.jpg scaled to 6000 × 4000.
#include "host/render/slot_renderer.h"
#include "map/chromasift.h"
#include "plugin/param_ids.h"
#include "plugin/plugin_main.h"
#include "plugin/resource_ids.h"
#include "plugin/string_table.h"
#include "test_files.h"
#include "ui/chromasift_dlg_proc.h"

#include <benchmark/benchmark.h>

// A copy of the picture libraries of this file's own: the host library holds another, without file writes.
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#include <stb_image.h>
#include <stb_image_write.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <vector>

namespace {

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;

std::filesystem::path BigPicture() {
    static const std::filesystem::path path = [] {
        const std::filesystem::path file =
            std::filesystem::temp_directory_path() / "chromasift_rollout_24mp.jpg";
        if (std::filesystem::exists(file))
            return file;
        int width = 0, height = 0, channels = 0;
        unsigned char* source =
            stbi_load(TestDataFile("images/Aqua.jpg").c_str(), &width, &height, &channels, 3);
        if (source == nullptr)
            std::abort();
        std::vector<unsigned char> scaled(std::size_t{kWidth} * kHeight * 3);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                for (int c = 0; c < 3; ++c)
                    scaled[(std::size_t{static_cast<std::size_t>(y)} * kWidth + x) * 3 + c] =
                        source[(std::size_t{static_cast<std::size_t>(y * height / kHeight)} * width +
                                x * width / kWidth) *
                                   3 +
                               c];
        stbi_image_free(source);
        if (stbi_write_jpg(file.c_str(), kWidth, kHeight, 3, scaled.data(), 90) == 0)
            std::abort();
        return file;
    }();
    return path;
}

Chromasift* MapWithBigPicture() {
    static Chromasift* map = [] {
        static int moduleAnchor;
        auto* module = reinterpret_cast<HINSTANCE>(&moduleAnchor);
        RegisterModuleStrings(module, kStringTable, kStringTableSize);
        DllMain(module, DLL_PROCESS_ATTACH, nullptr);
        GetCOREInterface()->SetQuietMode(TRUE);
        auto* created = static_cast<Chromasift*>(GetChromasiftDesc()->Create(FALSE));
        BitmapInfo info;
        const std::wstring name = BigPicture().wstring();
        info.SetName(name.c_str());
        PBBitmap bitmap(info);
        created->pblock->SetValue(pb_bitmap, 0, &bitmap);
        created->MarkExtractPending();
        Interval valid = FOREVER;
        created->Update(0, valid);
        if (created->GetPalette()->empty())
            std::abort();
        return created;
    }();
    return map;
}

// "# colors" dragged to `count`: the value set and the change as the rollout receives it while dragging.
void DragNumColoursTo(Chromasift& map, IParamMap2& rollout, int count) {
    map.pblock->SetValue(pb_num_colors, 0, count);
    theChromasiftDlgProc.DlgProc(0, &rollout, nullptr, CC_SPINNER_CHANGE,
                                 (WPARAM{1} << 16) | IDC_NUM_COLORS_SPIN, 0);
}

// One spinner change of "# colors" to the benchmark's count.
void SpinnerChangeOfNumColours(benchmark::State& state) {
    Chromasift* map = MapWithBigPicture();
    theChromasiftDlgProc.SetMap(map);
    ParamMapSpec parameters;
    parameters.mapId = kParamsMapId;
    IParamMap2 rollout(map->pblock, parameters);
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        DragNumColoursTo(*map, rollout, count);
        benchmark::DoNotOptimize(map->GetPalette()->size());
    }
}
BENCHMARK(SpinnerChangeOfNumColours)
    ->Arg(10)
    ->Arg(30)
    ->Arg(100)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The same change when the picture had to be decoded again, for comparison.
void ExtractionWithDecoding(benchmark::State& state) {
    Chromasift* map = MapWithBigPicture();
    BitmapInfo info;
    const std::wstring name = BigPicture().wstring();
    info.SetName(name.c_str());
    for (auto _ : state) {
        map->ExtractPalette(info, 30, 0);
        benchmark::DoNotOptimize(map->GetPalette()->size());
    }
}
BENCHMARK(ExtractionWithDecoding)->Unit(benchmark::kMillisecond)->Iterations(3);

// The sample slot's picture of the map alone (a sphere of 128 x 128 pixels).
void SampleSlotPicture(benchmark::State& state) {
    Chromasift* map = MapWithBigPicture();
    const host::SlotSettings settings{host::SlotShape::Sphere, false, 128, 128, 0};
    for (auto _ : state)
        benchmark::DoNotOptimize(host::RenderSampleSlot(*map, settings));
}
BENCHMARK(SampleSlotPicture)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// From one "# colors" step to the slot's new picture, as the editor runs it: the rollout's handling of the
// spinner change (after which the swatches are drawn), the map's update, and the request to the slot's
// render thread, whose announcement of the finished picture ends the iteration.
void CountStepToSampleSlotPicture(benchmark::State& state) {
    Chromasift* map = MapWithBigPicture();
    theChromasiftDlgProc.SetMap(map);
    ParamMapSpec parameters;
    parameters.mapId = kParamsMapId;
    IParamMap2 rollout(map->pblock, parameters);
    std::mutex lock;
    std::condition_variable done;
    int pictures = 0;
    host::SlotRenderer slot([&] {
        std::lock_guard<std::mutex> guard(lock);
        ++pictures;
        done.notify_all();
    });
    const host::SlotSettings settings{host::SlotShape::Sphere, false, 128, 128, 0};
    int count = 30;
    for (auto _ : state) {
        count = count == 30 ? 31 : 30;
        DragNumColoursTo(*map, rollout, count);
        Interval valid = FOREVER;
        map->Update(0, valid);
        std::unique_lock<std::mutex> guard(lock);
        const int before = pictures;
        guard.unlock();
        slot.Request(*map, settings);
        guard.lock();
        done.wait(guard, [&] { return pictures > before; });
        benchmark::DoNotOptimize(slot.TakePicture());
    }
}
BENCHMARK(CountStepToSampleSlotPicture)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
