#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "match/MatchDriver.h"
#include "match/MatchRules.h"
#include "net/ConnectionFigures.h"
#include "net/Messages.h"
#include "replay/ReplayView.h"
#include "roster/Lineup.h"

class ConnectionDisplay;
class EnetLink;
class Match;
class ReplayRecorder;
struct MatchState;

// Watching an online match: a replay that arrives over the network. It joins the host as a
// spectator (trying for up to the join time, as a guest does), takes the host's fighters, stage
// and rules (the fighters and stage checked against this game's files, file for file) and, when
// the match is under way, the confirmed match it starts from, then plays the confirmed steps
// the host sends a delay behind: it waits when they run low and plays a little faster than the
// clock when it is further behind. The host's checksums are checked as they come. It plays to
// the host's last step and ends with status 0; a host that is gone ends it with "connection
// lost" (an exception, status 1) once everything that came was shown. No key acts on the match:
// Escape leaves, F1 to F3 switch the displays of this screen only. Owned by the Application; the
// match is not owned.
class SpectatorPlay : public MatchDriver {
public:
    struct Setup {
        std::string hostName;
        std::uint16_t port = 0;
        // The media folder whose roster must hold the match's fighters and stage.
        std::string mediaFolder;
        double joinTimeout = 30;
        double silenceLimit = 5;
        // Steps the playback stays behind the host's confirmed match.
        int delaySteps = 60;
        std::function<void(const std::string&)> setTitle;
        // Called with the match's fighters and stage once the host has said them, before the
        // match is started or put where it stands.
        std::function<void(const Lineup&)> cast;
        // Makes the recorder once the rules and the first state are known, when recording: from
        // the match's start, or from `start` before the match's step firstStep.
        std::function<std::unique_ptr<ReplayRecorder>(const MatchRules&, const MatchState* start,
                                                      int firstStep)>
            makeRecorder;
    };

    SpectatorPlay(Match& match, Setup setup);
    ~SpectatorPlay() override;

    bool step(const StepInput& keyboard) override;
    // The match is left as the host's, whatever the viewer showed.
    void finish() override { view.settle(); }

    static std::string title(const std::string& hostName, std::uint16_t port);
    // The connection to the host as the timing overlay shows it.
    ConnectionFigures connection() const;

    // For the tests.
    int stepsPlayed() const { return next; }
    std::optional<int> startStep() const { return first; }
    const ReplayRecorder* recording() const { return recorder.get(); }
    const std::string& topLine() const;

private:
    using Clock = std::chrono::steady_clock;

    void hear();
    void handle(const net::Message& message);
    void checkHello(const net::Hello& hello);
    void begin(const net::Start& start);
    void checkLineup(const Lineup& lineup);
    void receive(const net::Steps& steps);
    int playable() const { return first ? *first + static_cast<int>(steps.size()) - next : 0; }
    void play();
    void playOne();
    void show();
    [[noreturn]] void fail(const std::string& reason);
    std::string hostLabel() const;

    Match& match;
    ReplayView view;
    Setup setup;
    std::unique_ptr<EnetLink> link;
    std::unique_ptr<ConnectionDisplay> display;
    std::unique_ptr<ReplayRecorder> recorder;
    Clock::time_point started = Clock::now();
    std::uint32_t session = 0;
    bool greeted = false;
    // The step the match began at here, once the host said; the steps from it on.
    std::optional<int> first;
    std::vector<std::uint16_t> steps;
    std::map<int, std::uint64_t> checksums;
    int next = 0;
    // The host's last step, once the match ended.
    std::optional<int> last;
    bool hostGone = false;
    std::string goneReason;
    // When the steps came: each batch's end (the step after its last) and its moment, from the
    // one that holds the step shown on. How far behind the match is shown is timed by them.
    std::deque<std::pair<int, Clock::time_point>> arrivals;
    // Playing, rather than filling the buffer up to the delay.
    bool playing = false;
    int tick = 0;
};
