#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "input/StepInput.h"
#include "match/MatchRules.h"
#include "replay/Fnv1a.h"

struct MatchState;

// Records a match into a replay file (see ReplayFormat.h). Whoever drives the match owns it and
// feeds it every step the match ran, in order: local play every step, a network session every
// confirmed step. The file is written beside its final name and renamed into place by
// finish(), or by the destructor, so whatever ends the match (the recorded Escape, the window
// closing, an error unwinding the program) leaves either no file or a complete one. Steps past
// ReplayFormat::maxSteps, or after finish(), are not recorded.
//
//     ReplayRecorder recorder(path, characterDataHash(data), rules);   // throws ReplayError
//     recorder.record(input, stateAfterTheStep);                // once per step
//     recorder.finish();                                        // or let it go out of scope
class ReplayRecorder {
public:
    // Throws ReplayError when the file cannot be created.
    ReplayRecorder(std::string path, std::uint64_t characterHash, const MatchRules& rules = {});
    // Finishes the file unless finish() did; a failure then goes to stderr.
    ~ReplayRecorder();

    ReplayRecorder(const ReplayRecorder&) = delete;
    ReplayRecorder& operator=(const ReplayRecorder&) = delete;

    // The step's input as the match consumed it, quit included, and the match once it ran.
    void record(const StepInput& input, const MatchState& after);
    // Completes the file and gives it its name; later calls do nothing. Throws ReplayError when
    // the file could not be written, after removing what was written.
    void finish();

    std::uint64_t steps() const { return stepCount; }

private:
    void write(const void* data, std::size_t size);
    void writeWord(std::uint64_t word, int bytes);
    void discard();

    std::string path;
    std::string temporaryPath;
    std::FILE* file = nullptr;
    Fnv1a hash;
    std::uint64_t stepCount = 0;
    std::uint64_t lastChecksum = 0;
};
