#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "input/StepInput.h"
#include "match/MatchRules.h"
#include "replay/Fnv1a.h"
#include "replay/ReplayFormat.h"
#include "replay/ReplayMode.h"
#include "replay/ReplayResult.h"
#include "roster/Lineup.h"

struct MatchState;

// Records a match into a replay file (see ReplayFormat.h). Whoever drives the match owns it and
// feeds it every step the match ran, in order: local play every step, a network session every
// confirmed step. The file is written under a temporary name of its own beside its final name
// and renamed into place by finish(), or by the destructor, so whatever ends the match (the
// recorded Escape, the window closing, an error unwinding the program, an X error handler
// through finishAllOpen) leaves either no file or a complete one; of two recordings to one
// name, the last to finish takes it. What was recorded is written out every flushInterval
// steps: a write that fails is found out within seconds, the recording stops there and
// onWriteFailure is told, while the match plays on; finish() then keeps the steps written
// before the failure and reports it. Steps past ReplayFormat::maxSteps, or after finish(), are
// not recorded. A folder, device, FIFO or socket (or a link to one) is never replaced: it is
// refused at the start, and if one takes the name meanwhile the file keeps its temporary name.
// The header names the fighters and the stage and says how the match is played (the mode the
// caller fills); the closing record holds the result of the last match decided, kept from the
// states recorded, so it is there however the game ends.
//
//     ReplayRecorder::checkTarget(path);                        // at start-up; throws
//     ReplayMode mode;                                          // how the match is played
//     mode.kind = ReplayMode::Computer;
//     mode.cpuLevel = 5;
//     mode.cpuSide = 1;
//     ReplayRecorder recorder(path, lineup, mode, rules);       // throws ReplayError
//     recorder.record(input, stateAfterTheStep);                // once per step
//     recorder.finish();                                        // or let it go out of scope
class ReplayRecorder {
public:
    // Two seconds of play.
    static constexpr std::uint64_t flushInterval = 120;

    // Throws ReplayError when the file cannot be created, or the lineup or the mode cannot be
    // written (a name that is not one players type, a mode out of range). With a start, the
    // steps recorded follow on from that match, the first being the match's step firstStep.
    ReplayRecorder(std::string path, const Lineup& lineup, const ReplayMode& mode = {},
                   const MatchRules& rules = {}, const MatchState* start = nullptr,
                   int firstStep = 0);
    // Finishes the file unless finish() did; a failure then goes to stderr.
    ~ReplayRecorder();

    ReplayRecorder(const ReplayRecorder&) = delete;
    ReplayRecorder& operator=(const ReplayRecorder&) = delete;

    // Throws ReplayError unless a recording into path can be made: its folder exists and takes
    // new files, and path is nothing or a regular file (or a link to one). Nothing is left
    // behind.
    static void checkTarget(const std::string& path);

    // The step's input as the match consumed it, quit included, and the match once it ran.
    void record(const StepInput& input, const MatchState& after);
    // Completes the file and gives it its name; later calls do nothing. Throws ReplayError when
    // the file could not be written, saying which steps were kept.
    void finish();
    // For handlers that end the process at once: finishes every recording still open and
    // prints on stderr any that failed.
    static void finishAllOpen();
    // For a signal handler that ends the process at once, with the calls a handler may make:
    // completes every recording still open after the steps written out so far and gives it its
    // name. False when one could not be kept under its name (said on stderr). The handler
    // must run on the thread that records, so that no write of the recording goes on meanwhile.
    static bool completeAllAtOnce();

    std::uint64_t steps() const { return stepCount; }

    // Called once, with a line for the player, when writing the file fails.
    std::function<void(const std::string&)> onWriteFailure;

private:
    // The part of the file known to be written: the recording can be completed from here.
    struct Written {
        std::uint64_t bytes = 0;
        std::uint64_t steps = 0;
        std::uint64_t lastChecksum = 0;
        std::optional<ReplayResult> result;
        Fnv1a hash;
    };

    // What completes the file after the last step recorded, ready for completeAllAtOnce: a
    // handler can neither allocate nor read what the recording thread may be changing, so it
    // only writes the first pendingSize bytes of what waits to be written (a buffer that never
    // moves) at offset, and the trailer. Two of them, so that the one in use is whole while the
    // other is prepared.
    struct Completion {
        std::uint64_t offset = 0;
        const unsigned char* pending = nullptr;
        std::size_t pendingSize = 0;
        std::array<unsigned char, ReplayFormat::trailerSize()> trailer{};
        // False after a write failed before any step was written: nothing is kept.
        bool keeps = true;
    };

    void write(const void* data, std::size_t size);
    void writeWord(std::uint64_t word, int bytes);
    bool flush();
    bool completeFrom(const Written& point);
    void prepareCompletion();
    bool completeAtOnce();
    // Gives the completed temporary file its name unless a non-regular file took it; throws.
    void rename();

    std::string path;
    std::string temporaryPath;
    int file = -1;
    std::vector<unsigned char> pending;
    Fnv1a hash;
    std::uint64_t stepCount = 0;
    std::uint64_t lastChecksum = 0;
    std::optional<ReplayResult> result;
    Written written;
    // Why writing stopped; empty while it works.
    std::string writeError;
    Completion completions[2];
    std::atomic<int> ready{0};
};
