#pragma once

#include <cstddef>
#include <string>

// What a replay's video is to hold, as the command line chose it. Steps are numbered from 1,
// as in the replay file; the clip runs from step `from` to step `to`, both included.
struct ExportSettings {
    static constexpr int defaultWidth = 800;
    static constexpr int defaultHeight = 600;

    // The video file; empty when nothing is exported.
    std::string path;
    int width = defaultWidth;
    int height = defaultHeight;
    std::size_t from = 1;
    // 0: the replay's last step.
    std::size_t to = 0;
    // Shown from the first step on, as F3 and F2 would show them.
    bool boxes = false;
    bool inputs = false;
    // The timing overlay, as F12 shows it, with the export's own times: hidden otherwise.
    bool timing = false;
};
