#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "match/MatchDriver.h"
#include "match/MatchRules.h"
#include "net/ConnectionFigures.h"
#include "net/EnetLink.h"
#include "net/Messages.h"
#include "net/Rendezvous.h"
#include "roster/Lineup.h"

class ConnectionDisplay;
class PeerMeeting;
class Match;
class ReplayRecorder;
class RollbackSession;
class SpectatorFeed;
struct RoundState;

// The game played online: each logic step hears the network, feeds the local player's keys
// (either key set) to the rollback session, sends what the other side needs and shows the
// connection on the HUD. The host plays the left fighter, the guest the right one, each the
// fighter its player chose, on the host's stage: each side checks it has the other's choices,
// file for file, and the match is cast with them before its first step. The guest
// greets the host again and again until it answers, for up to the join time. Ends as the issue
// of online play asks: Escape, a window close or a signal on either side ends both by
// agreement, on the same step (status 0 on the side that did not choose it); a lost
// connection, a mismatch, a desync or a broken message ends with a one-line reason (an
// exception, status 1). The host also feeds its spectators the confirmed match, never waiting
// for them. Owned by the Application.
class NetPlay : public MatchDriver {
public:
    struct Setup {
        bool host = true;
        std::string hostName; // the guest's
        std::uint16_t port = 0;
        int inputDelay = 1;
        // This side's fighter and, the host's, the stage, by name and file fingerprint; the
        // media folder whose roster must hold the other side's.
        Lineup::Entry fighter;
        Lineup::Entry stage;
        std::string mediaFolder;
        // Called once both sides' choices are known, before the first step: the match's
        // fighters and stage.
        std::function<void(const Lineup&)> cast;
        // The guest's time to find the host; silence that ends a running match.
        double joinTimeout = 30;
        double silenceLimit = 5;
        // Called once the other side is known, with a title naming both.
        std::function<void(const std::string&)> setTitle;
        // Makes the recorder of the confirmed match once the match is cast, when recording.
        std::function<std::unique_ptr<ReplayRecorder>()> makeRecorder;
        // The rules this side plays by: the other side must play by the same.
        MatchRules rules;
        // Called with every confirmed step of a decided versus match.
        std::function<void(const RoundState&)> onMatchEnd;
        // The host's: how many may watch.
        int spectators = 0;
        // Paired by a lobby: how the two sides reach each other through their routers.
        Rendezvous rendezvous;
    };

    NetPlay(Match& match, Setup setup);
    ~NetPlay() override;

    bool step(const StepInput& keyboard) override;
    // The window closed or a signal came: ends the match with the other side's agreement,
    // waiting for its answer up to the silence limit.
    void finish() override;

    // The connection as the timing overlay shows it.
    ConnectionFigures connection() const;

    // The window title before the other side is known.
    static std::string title(bool host, const std::string& hostName, std::uint16_t port);

    // For the tests: the session once the handshake is done, and the link under it.
    const RollbackSession* rollback() const { return session.get(); }
    const EnetLink& network() const { return *link; }

private:
    using Clock = std::chrono::steady_clock;

    // Escape or a closed window: an end both sides agree to, not a failure.
    static bool byAgreement(net::QuitReason reason);

    bool connecting(const StepInput& keyboard);
    bool handshake(const net::Message& message);
    bool quitBeforeMatch(const net::Quit& quit);
    void greet();
    void timeHandshake();
    void checkHello(const net::Hello& hello);
    void checkRules(const MatchRules& rules);
    void checkChoice(const net::Choice& choice);
    Lineup agreedLineup(const net::Choice& choice) const;
    // Why the other side quit, in words; a refusal of this side's choice names it.
    std::string whyQuit(const net::Quit& quit) const;
    void startSession();
    void announce();
    bool play(const StepInput& keyboard);
    bool handle(const net::Message& message);
    void sendLastWord(net::QuitReason reason);
    void endByAgreement();
    void settle();
    bool linger();
    void showConnection();
    [[noreturn]] void fail(const std::string& reason, std::optional<net::QuitReason> tell,
                           int step = 0);
    void report(const std::string& line);
    void tellAndClose(net::QuitReason reason, int step = 0);
    std::string hostLabel() const;
    void serveSpectators(const EnetLink::Polled& polled);
    void sendToSpectators();
    std::string watchingLine() const;

    Match& match;
    Setup setup;
    std::unique_ptr<EnetLink> link;
    std::unique_ptr<RollbackSession> session;
    std::unique_ptr<ConnectionDisplay> display;
    std::unique_ptr<SpectatorFeed> spectators;
    std::unique_ptr<PeerMeeting> meeting;
    std::uint32_t sessionId = 0;
    Clock::time_point started = Clock::now();
    std::optional<Clock::time_point> lastGreeting;
    std::optional<std::uint32_t> handshakeRoundTripMs;
    // Since this side asked to end the match, waiting for the other side's answer.
    std::optional<Clock::time_point> ending;
    // Since the match ended by agreement: the link stays until the other side has all.
    std::optional<Clock::time_point> closing;
    bool interrupted = false;
    // The other side's Hello came and passed.
    bool greeted = false;
    // The other side's rules and choice, once they came.
    std::optional<MatchRules> peerRules;
    std::optional<net::Choice> peerChoice;
    std::unique_ptr<ReplayRecorder> recorder;
    bool ended = false;
    // The match's start was said on stderr.
    bool announced = false;
    int malformed = 0;
    // Steps run again in each of the last 60 logic steps (each step rolls back once at most),
    // and their sum.
    int rolledBack[60] = {};
    int rolledBackLastSecond = 0;
    int tick = 0;
};
