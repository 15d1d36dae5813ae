#pragma once

#include <string>

#include "export/ExportSettings.h"

// What the program was asked to do on its command line. With none of the options set it is the
// game of two players at one keyboard, exactly as always.
struct Options {
    // Record the match into this file.
    std::string recordPath;
    // Play this recorded match back instead of reading the keyboard.
    std::string replayPath;
    // Every step, go back this many steps and run them again, checking that the match agrees.
    int syncTestSteps = 0;
    // Print the moves' frame data and exit.
    bool frameData = false;
    // Render the replay into a video file instead of the window.
    ExportSettings exportSettings;

    // Online play: wait for the other player on port, or join the host joinHost on port.
    static constexpr int defaultPort = 7717;
    bool host = false;
    std::string joinHost;
    int port = defaultPort;
    // Steps between a local key and the match taking it.
    int inputDelay = 1;
};
