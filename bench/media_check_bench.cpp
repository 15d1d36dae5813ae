// What the check of the media folder adds to start-up: every script read for its nesting and
// imports, every PNG image checked chunk by chunk and decoded whole by libpng. Figures are read
// by people; nothing here asserts a time.
#include <benchmark/benchmark.h>

#include "app/ResourceFileCheck.h"
#include "app/programDirectory.h"

namespace {

void BM_MediaFolderCheck(benchmark::State& state) {
    const std::string media = programDirectory() + "/media";
    for (auto _ : state)
        ResourceFileCheck::requireMediaFolder(media);
}
BENCHMARK(BM_MediaFolderCheck)->Unit(benchmark::kMillisecond);

} // namespace
