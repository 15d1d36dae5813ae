#pragma once

#include <chrono>
#include <cstddef>
#include <iosfwd>
#include <string>

// Tells how far an export has come. On a terminal one line is rewritten as the pictures go by
// (done of the total, the speed against real time, the time left); elsewhere, as in a log, one
// line says at the end what was made. Owned by the export; the stream is not owned.
class ExportProgress {
public:
    using Clock = std::chrono::steady_clock;

    ExportProgress(std::ostream& out, bool terminal, std::size_t total,
                   Clock::time_point start = Clock::now());

    void frameDone(Clock::time_point now = Clock::now());
    void finished(const std::string& path, Clock::time_point now = Clock::now());

    // "120 / 600 steps, 1.5x real time, 5 s left", done pictures of play after seconds.
    static std::string line(std::size_t done, std::size_t total, double seconds);

private:
    double secondsSince(Clock::time_point now) const;

    std::ostream& out;
    bool terminal;
    std::size_t total;
    std::size_t done = 0;
    Clock::time_point start;
    Clock::time_point shown;
};
