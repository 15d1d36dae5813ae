#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "match/MatchTimeline.h"
#include "net/Messages.h"

class Match;

// One side of an online match, without sockets: it runs the match at once on the local input
// (after the input delay) and on a prediction of the other side's, rolls back to the first
// step it got wrong when the other side's input arrives, waits rather than run more than
// MatchTimeline::maxRollback steps past the last step it knows the other side's input for, and
// skips a step now and then while it runs ahead of the other side. It keeps nothing about the
// match outside its timeline, so several sessions can take turns on one match (a test does).
// Its messages go out and come in through whoever carries them: the network play driver or a
// test relay. Owned by that driver; the match is not owned.
class RollbackSession {
public:
    enum class Outcome { Advanced, Waited, Skipped };

    // Checksums of the confirmed match are exchanged every this many steps.
    static constexpr int checksumInterval = 60;
    static constexpr int maxInputDelay = 4;

    // localSide 0 plays the left fighter. session: the id both sides stamp their messages with.
    RollbackSession(Match& match, int localSide, int inputDelay, std::uint32_t session);

    // Messages from the other side; those of another session, or out of any possible range,
    // are dropped and counted.
    void receive(const net::Inputs& inputs);
    void receive(const net::Checksum& checksum);

    // One logic step of the program, on the local player's input of this step (a NetInput).
    Outcome step(std::uint16_t localInput);

    // What to send the other side now: the local frames it has not acknowledged.
    net::Inputs inputsToSend() const;

    // Ends the match on the last step both sides' inputs are known for, confirming every step
    // before it, and returns that step. Once each side holds the other's every frame (the
    // other side stopped stepping and sent them all), both come to the same step. It is never
    // further back than the timeline reaches: no step runs past the last known remote step
    // plus maxRollback, and no step is run before the local input for it exists.
    int finish();
    // The match before the step: from now() - maxRollback to now().
    MatchState stateBefore(int step) const { return timeline.stateBefore(step); }
    // The checksums computed since the last call, to send reliably.
    std::vector<net::Checksum> takeChecksums();

    // The first step whose checksums differ, once known.
    std::optional<int> desyncStep() const { return desync; }

    // Called for every step in order once both sides' inputs for it are known, with the match
    // as that step left it: for recording the match as both sides play it.
    std::function<void(int step, const StepInput& input, const MatchState& after)> onConfirmed;

    struct Stats {
        int rollbacks = 0;        // corrections of the other side's input
        int rolledBackSteps = 0;  // steps run again, all told
        int maxRollback = 0;      // the longest re-run
        int waited = 0;           // steps not run, waiting for the other side
        int skipped = 0;          // steps not run, to let the other side catch up
        int checksumsMatched = 0; // steps both sides compared
        int dropped = 0;          // messages out of range or of another session
        int lastRolledBack = 0;   // steps run again in the last call of step
        int inputsHeard = 0;      // the other side's Inputs messages heard, each step once
        int inputsLost = 0;       // and those never heard
    };
    const Stats& stats() const { return statistics; }

    int now() const { return timeline.now(); }
    // Every step run, a re-run one too, reaches the presenter (see MatchTimeline).
    void presentTo(StepPresenter* presenter) { timeline.presentTo(presenter); }
    // Steps the other side's input is known for, from step 0.
    int remoteFrames() const { return remote.count; }
    // Local frames from step 0, the input delay's included.
    int localFrames() const { return local.count; }
    int localSide() const { return local.side; }

private:
    // One side's frames from step 0 on; only the most recent ones are kept.
    struct Frames {
        static constexpr int kept = 256;
        int side = 0;
        int count = 0;
        std::array<std::uint16_t, kept> ring{};

        std::uint16_t at(int step) const { return ring[static_cast<std::size_t>(step % kept)]; }
        void append(std::uint16_t input) { ring[static_cast<std::size_t>(count++ % kept)] = input; }
    };

    void countArrival(int step);
    std::uint16_t remoteInputFor(int step) const;
    StepInput stepInput(int step) const;
    void rollBack();
    bool shouldSkip() const;
    void confirmSteps();
    void exchangeChecksums();
    void compare(int step);

    MatchTimeline timeline;
    std::uint32_t session;
    int inputDelay;
    Frames local;
    Frames remote;
    // The other side's input each run step was run on, guessed or known.
    std::array<std::uint16_t, Frames::kept> usedRemote{};
    // The first step run on a wrong guess, once the real input shows it.
    std::optional<int> firstWrong;
    // Local frames the other side holds; its last reported advantage.
    int acknowledged = 0;
    int remoteAdvantage = 0;
    int remoteStep = 0;
    // The other side's steps whose Inputs message came, up to the newest, the last `kept` of
    // them; -1 before the first.
    int newestHeard = -1;
    std::bitset<Frames::kept> heard;
    // Presses of steps not run, kept for the next step that runs.
    std::uint16_t carriedPresses = 0;
    int stepsSinceSkip = 0;
    int confirmed = 0;
    int nextChecksum = checksumInterval;
    std::map<int, std::uint64_t> localChecksums;
    std::map<int, std::uint64_t> remoteChecksums;
    std::vector<net::Checksum> outgoing;
    std::optional<int> desync;
    Stats statistics;
};
