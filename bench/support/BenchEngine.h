#pragma once

#include "app/Application.h"

// One engine for the display benchmarks: root, GL window, scene manager with the overlay
// system, "media" and the quad meshes, started on first use on the display the benchmarks run
// on. The engine allows one root at a time, so a benchmark that starts its own Application
// calls stop() first.
namespace BenchEngine {

Application& app();
void stop();

} // namespace BenchEngine
