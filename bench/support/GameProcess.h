#pragma once

#include <mutex>
#include <string>
#include <sys/types.h>
#include <thread>
#include <vector>

#include "app/FramePass.h"

// A game started beside the benchmark, with options, on the benchmark's display: the traced
// game (game_lag_probe, whose trace tells its window and the passes of its frame loop that drew
// a picture) or the program itself, its output dropped. Ended (SIGTERM, then waited for) when
// destroyed.
class GameProcess {
public:
    // program: a program beside the benchmark.
    GameProcess(const std::string& program, const std::vector<std::string>& arguments,
                bool traced);
    ~GameProcess();

    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    // The traced game's window once its first picture is drawn; 0 when it did not come within
    // the time or the game ended.
    unsigned long window(double timeoutSeconds);
    // The passes traced so far.
    std::vector<FramePass> passes() const;
    bool running();

private:
    void readTrace(int fd);

    pid_t pid = 0;
    std::thread reader;
    mutable std::mutex mutex;
    unsigned long windowId = 0;
    std::vector<FramePass> traced;
};
