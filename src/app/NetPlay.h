#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "match/MatchDriver.h"
#include "match/MatchRules.h"
#include "net/Messages.h"

class ConnectionDisplay;
class EnetLink;
class Match;
class ReplayRecorder;
class RollbackSession;
struct RoundState;

// The game played online: each logic step hears the network, feeds the local player's keys
// (either key set) to the rollback session, sends what the other side needs and shows the
// connection on the HUD. The host plays the left fighter, the guest the right one. Ends as the
// issue of online play asks: Escape here or there ends both with status 0; a lost connection,
// a mismatch, a desync or a broken message ends with a one-line reason (an exception, status
// 1); a window close or a signal tells the other side first. Owned by the Application.
class NetPlay : public MatchDriver {
public:
    struct Setup {
        bool host = true;
        std::string hostName; // the guest's
        std::uint16_t port = 0;
        int inputDelay = 1;
        std::uint64_t dataHash = 0;
        // Called once the other side is known, with a title naming both.
        std::function<void(const std::string&)> setTitle;
        // Records the confirmed match, when given.
        std::unique_ptr<ReplayRecorder> recorder;
        // The rules this side plays by: the other side must play by the same.
        MatchRules rules;
        // Called with every confirmed step of a decided versus match.
        std::function<void(const RoundState&)> onMatchEnd;
    };

    NetPlay(Match& match, Setup setup);
    ~NetPlay() override;

    bool step(const StepInput& keyboard) override;

    // The window title before the other side is known.
    static std::string title(bool host, const std::string& hostName, std::uint16_t port);

private:
    bool handshake(const net::Message& message);
    void checkHello(const net::Hello& hello);
    void checkRules(const MatchRules& rules);
    void startSession();
    bool play(const StepInput& keyboard);
    bool handle(const net::Message& message);
    [[noreturn]] void fail(const std::string& reason, std::optional<net::QuitReason> tell,
                           int step = 0);
    void report(const std::string& line);
    void tellAndClose(net::QuitReason reason, int step = 0);

    Match& match;
    Setup setup;
    std::unique_ptr<EnetLink> link;
    std::unique_ptr<RollbackSession> session;
    std::unique_ptr<ConnectionDisplay> display;
    std::uint32_t sessionId = 0;
    // The other side's Hello came and passed; its Rules are next.
    bool greeted = false;
    bool ended = false;
    int malformed = 0;
    // Steps run again in each of the last 60 logic steps, and their sum.
    int rolledBack[60] = {};
    int rolledBackLastSecond = 0;
    int tick = 0;
};
