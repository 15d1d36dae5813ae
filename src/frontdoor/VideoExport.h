#pragma once

#include <sys/types.h>

#include <string>

// A replay exported to a video while the menus stay live: the game itself, started again with
// --replay and --export on a pseudo-terminal of its own, whose progress line ("120 / 600 steps,
// 1.5x real time, 5 s left"), rewritten as it goes, gives the part done. Owned by the replays
// screen while it runs; destroyed before the export ended, it stops the export (by its process
// id), which leaves no video behind.
class VideoExport {
public:
    VideoExport(const std::string& replay, const std::string& video);
    ~VideoExport();

    VideoExport(const VideoExport&) = delete;
    VideoExport& operator=(const VideoExport&) = delete;

    // Takes what the export wrote since the step before; false once it has ended.
    bool poll();

    // 0 to 1.
    double done() const { return fraction; }
    bool succeeded() const { return ended && status == 0; }
    // The export's last line: the video made, or why it failed.
    std::string lastLine() const;

private:
    void read();

    pid_t child = -1;
    int terminal = -1;
    std::string output;
    double fraction = 0;
    bool ended = false;
    int status = -1;
};
