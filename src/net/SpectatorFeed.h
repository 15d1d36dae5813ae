#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "input/StepInput.h"
#include "match/MatchRules.h"
#include "match/MatchState.h"
#include "net/Messages.h"

// The host's side of its spectators, without sockets: who watches, the confirmed steps and
// checksums each is sent (a few steps to a message), the start of one that joins a match under
// way (the confirmed match it starts from), the match's end, and who fell too far behind. A
// spectator starts once the players have chosen their fighters (cast), and learns them and the
// stage with the rules, whenever it joins. It
// never waits for a spectator: what one lacks, the network queues. Fed by the network play
// driver from its rollback session; its messages go out through the link. Owned by that driver.
class SpectatorFeed {
public:
    // Confirmed steps sent together: ten messages a second at most.
    static constexpr int batchSteps = 6;
    // A spectator that shows the match more than 10 s behind the confirmed steps is let go.
    static constexpr int maxBehind = 600;

    SpectatorFeed(std::uint32_t session, const MatchRules& rules);

    // The match's fighters and stage, once both players' choices are known.
    void cast(const Lineup& lineup);

    void join(int spectator);
    void leave(int spectator);
    void heard(int spectator, const net::Watching& watching);

    // Every confirmed step in order from the first, with the match as it left it.
    void confirmed(int step, const StepInput& input, const MatchState& after);
    // The host's checksums of the confirmed match.
    void checksum(const net::Checksum& checksum);
    // The match ended after the steps confirmed so far; stateAtEnd, when known, starts those
    // that still wait to.
    void end(net::QuitReason reason, const MatchState* stateAtEnd);

    struct Outgoing {
        int spectator;
        net::Message message;
    };
    // What to send now, in order.
    std::vector<Outgoing> take();
    // The spectators to let go, too far behind.
    std::vector<int> takeLeftBehind();

    int watching() const { return static_cast<int>(watchers.size()); }
    int confirmedSteps() const { return frontier; }

private:
    struct Watcher {
        int id;
        bool started = false;
        int played = 0;
    };

    bool anyWaiting() const;
    void sendToStarted(std::vector<Outgoing>& out, const net::Message& message) const;
    void start(std::vector<Outgoing>& out, Watcher& watcher);

    std::uint32_t session;
    MatchRules rules;
    std::optional<Lineup> lineup;
    std::vector<Watcher> watchers;
    int frontier = 0;
    std::vector<std::uint16_t> batch;
    std::vector<net::Checksum> checksums;
    // The confirmed match before step `frontier`, kept only while someone waits to start.
    std::optional<MatchState> latest;
    std::optional<net::QuitReason> ended;
    bool endSent = false;
};
