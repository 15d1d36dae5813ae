#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include <Ogre.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

extern "C" {
#include <libswscale/swscale.h>
}

#include "app/programDirectory.h"
#include "export/ExportModule.h"
#include "export/VideoEncoder.h"
#include "render/OffscreenView.h"
#include "support/BenchEngine.h"
#include "support/RandomInputs.h"
#include "support/SteppedMatch.h"

// Where the time of one exported step goes at 800 by 600: drawing and reading back, colour
// conversion, and encoding for each file type. The GL driver and the encoders work on threads
// of their own, so CPU is the whole process's.
namespace {

const int width = 800, height = 600;

Application& engine() {
    Application& app = BenchEngine::app();
    if (!app.getCamera())
        app.createScene();
    return app;
}

// A match in full swing with the input panels and the boxes shown.
struct Fight {
    Fight() : match(engine()), inputs(19) {
        match.game->showInputPanels();
        match.game->showHitboxes();
        for (int n = 0; n < 120; ++n)
            step();
    }
    void step() { match.step(inputs.next(match.match->save())); }

    SteppedMatch match;
    RandomInputs inputs;
};

using Picture = std::vector<std::uint8_t>;

// A second of a fight as read back, so the encoders see pictures that change as in play.
const std::vector<Picture>& pictures() {
    static std::vector<Picture> second;
    if (second.empty()) {
        Fight fight;
        OffscreenView view(engine().getCamera(), width, height);
        for (int n = 0; n < 60; ++n) {
            fight.step();
            view.draw();
            const Ogre::PixelBox& box = view.readBack();
            const auto* bytes = static_cast<const std::uint8_t*>(box.data);
            second.emplace_back(bytes, bytes + width * height * 4);
        }
    }
    return second;
}

// The scene drawn and read back: the GL driver draws when the pixels are asked for.
void BM_ExportDrawAndReadBack(benchmark::State& state) {
    Fight fight;
    OffscreenView view(engine().getCamera(), width, height);
    for (auto _ : state) {
        view.draw();
        benchmark::DoNotOptimize(view.readBack().data);
    }
}
BENCHMARK(BM_ExportDrawAndReadBack)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// Reading back a picture already drawn: the copy alone.
void BM_ExportReadBack(benchmark::State& state) {
    Fight fight;
    OffscreenView view(engine().getCamera(), width, height);
    view.draw();
    view.readBack();
    for (auto _ : state)
        benchmark::DoNotOptimize(view.readBack().data);
}
BENCHMARK(BM_ExportReadBack)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// The read-back pixels to the planes H.264 and VP9 take, as the encoder converts them.
void BM_ExportColourConversion(benchmark::State& state) {
    const std::vector<Picture>& second = pictures();
    SwsContext* converter = sws_getContext(width, height, AV_PIX_FMT_BGR0, width, height,
                                           AV_PIX_FMT_YUV420P, SWS_BILINEAR, nullptr, nullptr, nullptr);
    std::vector<std::uint8_t> planes(width * height * 3 / 2);
    std::uint8_t* const target[4] = {planes.data(), planes.data() + width * height,
                                     planes.data() + width * height * 5 / 4, nullptr};
    const int targetStride[4] = {width, width / 2, width / 2, 0};
    const int sourceStride[4] = {width * 4, 0, 0, 0};
    std::size_t n = 0;
    for (auto _ : state) {
        const std::uint8_t* const source[4] = {second[n++ % second.size()].data(), nullptr,
                                               nullptr, nullptr};
        sws_scale(converter, source, sourceStride, 0, height, target, targetStride);
    }
    sws_freeContext(converter);
}
BENCHMARK(BM_ExportColourConversion)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// Conversion and encoding of one picture, and its share of writing the file.
void BM_ExportEncode(benchmark::State& state, const char* extension) {
    const std::vector<Picture>& second = pictures();
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("vorrak-bench-" + std::to_string(getpid()) + extension))
                                 .string();
    std::size_t n = 0;
    {
        const std::unique_ptr<VideoEncoder> encoder =
            ExportModule(programDirectory(), path).createEncoder(path, width, height, false);
        for (auto _ : state)
            encoder->addFrame(second[n++ % second.size()].data(), width * 4);
        encoder->finish();
    }
    state.counters["bytes/frame"] =
        static_cast<double>(std::filesystem::file_size(path)) / static_cast<double>(n);
    std::filesystem::remove(path);
}
BENCHMARK_CAPTURE(BM_ExportEncode, mp4, ".mp4")->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(BM_ExportEncode, mkv, ".mkv")->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(BM_ExportEncode, webm, ".webm")->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

} // namespace
