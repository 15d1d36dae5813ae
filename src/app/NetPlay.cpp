#include "app/NetPlay.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <random>
#include <sstream>
#include <thread>

#include <OgreLogManager.h>

#include "match/Match.h"
#include "match/MatchState.h"
#include "app/PeerMeeting.h"
#include "net/EnetLink.h"
#include "net/inputDelayFor.h"
#include "net/NetInput.h"
#include "net/OnlineError.h"
#include "net/RollbackSession.h"
#include "net/SpectatorFeed.h"
#include "render/ConnectionDisplay.h"
#include "replay/ReplayRecorder.h"
#include "roster/Roster.h"

namespace {

// The guest greets the host this often until it answers.
constexpr double greetingInterval = 0.25;
// Silence this long is shown on the HUD.
constexpr double interruption = 1.0;
// A refusal or a fault told to the other side waits this long at most for its acknowledgement:
// through a lossy link the message or its acknowledgement may be lost twice and sent again.
constexpr int goodbyeWaitMs = 2000;
// After a match ended by agreement, the other side acknowledges what it still lacked within
// this long (a message and its resend may both be lost), or is gone.
constexpr double lingerLimit = 2.0;

bool byAgreement(net::QuitReason reason) {
    return reason == net::QuitReason::Escape || reason == net::QuitReason::Closed;
}

// Either key set moves the local fighter: the first set's stick wins where both are pushed.
InputFrame merged(const InputFrame& a, const InputFrame& b) {
    const int h = horizontalOf(a.direction) ? horizontalOf(a.direction) : horizontalOf(b.direction);
    const int v = verticalOf(a.direction) ? verticalOf(a.direction) : verticalOf(b.direction);
    InputFrame frame;
    frame.direction = encodeDirection(h, v);
    for (int i = 0; i < 2; ++i)
        frame.pressed[i] = a.pressed[i] || b.pressed[i];
    return frame;
}

const char* describe(net::QuitReason reason) {
    switch (reason) {
    case net::QuitReason::Escape:
        return "pressed Escape";
    case net::QuitReason::Closed:
        return "closed the game";
    case net::QuitReason::Mismatch:
        return "runs another version or other rules";
    case net::QuitReason::Desync:
        return "found the match out of sync";
    case net::QuitReason::Protocol:
        return "received a malformed message";
    case net::QuitReason::Lost:
        return "lost the connection";
    case net::QuitReason::LacksFighter:
    case net::QuitReason::OtherFighter:
    case net::QuitReason::LacksStage:
    case net::QuitReason::OtherStage:
        return "refused the choice of fighters";
    }
    return "left";
}

// Rules of a match in words, for the message that names a difference.
std::string describeRules(const MatchRules& rules) {
    if (!rules.versus)
        return "no versus rules";
    return "versus in " + std::to_string(rules.rounds) + (rules.rounds == 1 ? " round" : " rounds") +
           " of " + std::to_string(rules.roundSteps) + " steps";
}

} // namespace

NetPlay::NetPlay(Match& match, Setup setup)
    : match(match), setup(std::move(setup)), display(std::make_unique<ConnectionDisplay>()) {
    // ENet's own give-up time stays above the game's limit, which decides.
    const auto peerTimeoutMs = static_cast<std::uint32_t>(this->setup.silenceLimit * 1000) + 5000;
    link = this->setup.host
               ? EnetLink::host(this->setup.port, peerTimeoutMs, this->setup.spectators)
               : EnetLink::join(this->setup.hostName, this->setup.port, peerTimeoutMs, false,
                                this->setup.rendezvous.localPort);
    if (this->setup.rendezvous.active())
        meeting = std::make_unique<PeerMeeting>(this->setup.rendezvous, this->setup.host);
    if (this->setup.host)
        sessionId = std::random_device{}() | 1;
    if (this->setup.host && this->setup.spectators > 0)
        spectators = std::make_unique<SpectatorFeed>(sessionId, this->setup.rules);
    display->show(this->setup.host ? "Waiting for a player on port " + std::to_string(this->setup.port)
                                   : "waiting for " + hostLabel());
}

// However the game ends here (an error), the other side is told.
NetPlay::~NetPlay() {
    if (!ended)
        tellAndClose(net::QuitReason::Closed);
}

std::string NetPlay::title(bool host, const std::string& hostName, std::uint16_t port) {
    return host ? "Vorrak projekt - left fighter (host), waiting on port " + std::to_string(port)
                : "Vorrak projekt - right fighter (guest), waiting for " + hostName + ":" +
                      std::to_string(port);
}

std::string NetPlay::hostLabel() const { return setup.hostName + ":" + std::to_string(setup.port); }

bool NetPlay::step(const StepInput& keyboard) {
    if (closing)
        return linger();
    EnetLink::Polled polled = link->poll();
    serveSpectators(polled);
    if (polled.malformedReliable)
        fail("Online play ended: " + link->peerName() + " sent a malformed message",
             net::QuitReason::Protocol);
    if (polled.malformedUnreliable > 0) {
        malformed += polled.malformedUnreliable;
        Ogre::LogManager::getSingleton().logMessage("Online play: dropped " +
                                                    std::to_string(malformed) +
                                                    " malformed input packets so far");
    }
    if (polled.refused)
        fail("Online play: " + hostLabel() + " is already in a match", {});
    for (const net::Message& message : polled.messages) {
        if (!(session ? handle(message) : handshake(message)))
            return false;
        if (closing)
            return true;
    }
    if (!session) {
        if (polled.disconnected && !setup.host)
            link->connect();
        if (spectators)
            display->show("Waiting for a player on port " + std::to_string(setup.port) +
                          watchingLine());
        if (polled.disconnected) {
            // The next one to come starts the handshake afresh.
            greeted = false;
            peerRules.reset();
            peerChoice.reset();
            Ogre::LogManager::getSingleton().logMessage(
                "Online play: the other side left before the match began; waiting again");
        }
        return connecting(keyboard);
    }
    if (ending) {
        // No answer: the other side is gone, so this side ends alone.
        if (!polled.disconnected &&
            Clock::now() - *ending < std::chrono::duration<double>(setup.silenceLimit))
            return true;
        endByAgreement();
        link->close();
        return false;
    }
    if (polled.disconnected)
        fail("Online play ended: connection lost (" + link->peerName() + " disconnected)", {});
    const double silence = link->secondsSinceHeard();
    if (silence > setup.silenceLimit) {
        std::ostringstream seconds;
        seconds << setup.silenceLimit;
        fail("Online play ended: connection lost (nothing from " + link->peerName() + " for " +
                 seconds.str() + " s)",
             {});
    }
    if (keyboard.keys.quit) {
        sendLastWord(net::QuitReason::Escape);
        ending = Clock::now();
        return true;
    }
    return play(keyboard);
}

// Before the match: the guest greets until the host answers or the join time is up; Escape
// ends the wait.
bool NetPlay::connecting(const StepInput& keyboard) {
    if (keyboard.keys.quit) {
        tellAndClose(net::QuitReason::Escape);
        return false;
    }
    if (meeting)
        meeting->tick(*link);
    if (setup.host)
        return true;
    if (Clock::now() - started > std::chrono::duration<double>(setup.joinTimeout))
        fail("Online play: no answer from " + hostLabel(), {});
    if (link->isConnected() &&
        (!lastGreeting ||
         Clock::now() - *lastGreeting > std::chrono::duration<double>(greetingInterval)))
        greet();
    return true;
}

// Unreliable and repeated: ENet's resends of a reliable greeting wait twice as long each time.
void NetPlay::greet() {
    lastGreeting = Clock::now();
    link->send(net::Hello{net::protocolVersion, 0, sessionId}, false);
    link->flush();
}

// From this side's last greeting to the other side's answer: the round trip the match's input
// delay is chosen by (ENet's own estimate starts far too high to have settled by now). A step
// late to see a packet at either end is taken off.
void NetPlay::timeHandshake() {
    if (handshakeRoundTripMs || !lastGreeting)
        return;
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - *lastGreeting).count();
    handshakeRoundTripMs = static_cast<std::uint32_t>(std::max(0.0, ms - 1000.0 / 60));
}

// The guest speaks first; the host answers each greeting with its own and the session id. Each
// side sends its rules and its choice once, when the other's first hello passed, so a game that
// speaks another version hears nothing it cannot read; then each checks the other's rules and
// choice, so a difference is named on both sides. They travel reliably and the hellos do not,
// so what comes first waits for the hello.
bool NetPlay::handshake(const net::Message& message) {
    if (const auto* hello = std::get_if<net::Hello>(&message))
        checkHello(*hello);
    else if (const auto* rules = std::get_if<net::Rules>(&message)) {
        peerRules = rules->rules;
        // The guest sends its rules as soon as the host's greeting reached it.
        if (setup.host)
            timeHandshake();
    }
    else if (const auto* choice = std::get_if<net::Choice>(&message))
        peerChoice = *choice;
    else if (const auto* quit = std::get_if<net::Quit>(&message))
        return quitBeforeMatch(*quit);
    // Anything else came before the other side's hello, rules and choice: inputs come again.
    if (greeted && peerRules && peerChoice) {
        checkRules(*peerRules);
        checkChoice(*peerChoice);
        startSession();
    }
    return true;
}

// The one connected peer's quit counts whatever its session: a guest refused before the host's
// hello came knows none. A difference or a fault ends this side too, naming the rules when they
// are what differs; a guest that leaves leaves the host waiting for the next, as its
// disconnection would, and a host that leaves ends the guest.
bool NetPlay::quitBeforeMatch(const net::Quit& quit) {
    if (quit.reason == net::QuitReason::Mismatch && peerRules)
        checkRules(*peerRules);
    const std::string why = "Online play ended: " + link->peerName() + " " + whyQuit(quit);
    if (!byAgreement(quit.reason))
        fail(why, {});
    if (setup.host)
        return true;
    report(why);
    ended = true;
    link->close();
    return false;
}

void NetPlay::checkHello(const net::Hello& hello) {
    if (!setup.host)
        timeHandshake();
    if (setup.host)
        greet();
    if (hello.version != net::protocolVersion)
        fail("Online play ended: " + link->peerName() + " speaks protocol version " +
                 std::to_string(hello.version) + ", this game version " +
                 std::to_string(net::protocolVersion),
             net::QuitReason::Mismatch);
    if (!setup.host)
        sessionId = hello.session;
    if (!greeted) {
        link->send(net::Rules{setup.rules}, true);
        link->send(net::Choice{setup.fighter, setup.host ? setup.stage : Lineup::Entry{}}, true);
    }
    greeted = true;
}

void NetPlay::checkRules(const MatchRules& rules) {
    if (rules != setup.rules)
        fail("Online play ended: " + link->peerName() + " plays by other rules (" +
                 describeRules(rules) + ", this game " + describeRules(setup.rules) + ")",
             net::QuitReason::Mismatch);
}

// The other side's fighter, and the host's stage, must be here as they are there: what lacks
// or differs is named on this side and, through the refusal, on the other.
void NetPlay::checkChoice(const net::Choice& choice) {
    const Roster roster(setup.mediaFolder);
    const std::string peer = "Online play ended: " + link->peerName();
    const Lineup::Entry& fighter = choice.fighter;
    const Roster::Holding fighterHeld = roster.holdsFighter(fighter);
    switch (fighterHeld) {
    case Roster::Holding::Missing:
        fail(peer + " plays the fighter '" + fighter.name + "', which this game does not have",
             net::QuitReason::LacksFighter);
    case Roster::Holding::Different:
    case Roster::Holding::OtherLineEndings:
        fail(peer + " plays the fighter '" + fighter.name +
                 "' from another file than this game's (" + roster.fighterFolder(fighter.name) +
                 "/fighter.toml" + Roster::howDifferent(fighterHeld) + ")",
             net::QuitReason::OtherFighter);
    case Roster::Holding::Same:
        break;
    }
    if (setup.host)
        return;
    const Lineup::Entry& stage = choice.stage;
    const Roster::Holding stageHeld = roster.holdsStage(stage);
    switch (stageHeld) {
    case Roster::Holding::Missing:
        fail(peer + " plays on the stage '" + stage.name + "', which this game does not have",
             net::QuitReason::LacksStage);
    case Roster::Holding::Different:
    case Roster::Holding::OtherLineEndings:
        fail(peer + " plays on the stage '" + stage.name +
                 "' from another file than this game's (" + roster.stageFile(stage.name) +
                 Roster::howDifferent(stageHeld) + ")",
             net::QuitReason::OtherStage);
    case Roster::Holding::Same:
        break;
    }
}

// The host's fighter on the left, the guest's on the right, on the host's stage.
Lineup NetPlay::agreedLineup(const net::Choice& choice) const {
    Lineup lineup;
    lineup.fighters[setup.host ? 0 : 1] = setup.fighter;
    lineup.fighters[setup.host ? 1 : 0] = choice.fighter;
    lineup.stage = setup.host ? setup.stage : choice.stage;
    return lineup;
}

std::string NetPlay::whyQuit(const net::Quit& quit) const {
    const std::string fighter = "the fighter '" + setup.fighter.name + "' this side plays";
    const std::string stage = "the stage '" + setup.stage.name + "' this side chose";
    switch (quit.reason) {
    case net::QuitReason::LacksFighter:
        return "does not have " + fighter;
    case net::QuitReason::OtherFighter:
        return "has another file of " + fighter;
    case net::QuitReason::LacksStage:
        return "does not have " + stage;
    case net::QuitReason::OtherStage:
        return "has another file of " + stage;
    case net::QuitReason::Desync:
        return std::string(describe(quit.reason)) + " at step " + std::to_string(quit.step);
    default:
        return describe(quit.reason);
    }
}

void NetPlay::startSession() {
    const Lineup lineup = agreedLineup(*peerChoice);
    if (setup.cast)
        setup.cast(lineup);
    if (setup.makeRecorder)
        recorder = setup.makeRecorder();
    if (setup.rendezvous.delayFromRoundTrip)
        setup.inputDelay = inputDelayFor(handshakeRoundTripMs.value_or(link->roundTripMs()));
    session = std::make_unique<RollbackSession>(match, setup.host ? 0 : 1, setup.inputDelay,
                                                sessionId);
    session->presentTo(presenter);
    ReplayRecorder* recording = recorder.get();
    SpectatorFeed* feed = spectators.get();
    // Those who wait start now, from the match's first step.
    if (feed) {
        feed->cast(lineup);
        sendToSpectators();
    }
    // Without a recording, a versus result to report or spectators, nothing waits for
    // confirmed steps.
    const auto matchEnd = setup.rules.versus ? setup.onMatchEnd : nullptr;
    if (recording || matchEnd || feed)
        session->onConfirmed = [recording, matchEnd, feed](int step, const StepInput& input,
                                                           const MatchState& after) {
            if (recording)
                recording->record(input, after);
            if (matchEnd && after.round.phase == RoundState::MatchOver)
                matchEnd(after.round);
            if (feed)
                feed->confirmed(step, input, after);
        };
    const std::string side = setup.host ? "left fighter (host)" : "right fighter (guest)";
    std::ostringstream after;
    after.precision(2);
    after << std::fixed << std::chrono::duration<double>(Clock::now() - started).count();
    Ogre::LogManager::getSingleton().logMessage(
        "Online play: connected after " + after.str() + " s, " +
        std::to_string(link->connectAttempts()) + " connection attempts" +
        (meeting ? ", " + meeting->route(*link) + ", input delay " + std::to_string(setup.inputDelay) +
                       (handshakeRoundTripMs && setup.rendezvous.delayFromRoundTrip
                            ? " for a round trip of " + std::to_string(*handshakeRoundTripMs) + " ms"
                            : std::string())
                 : std::string()));
    if (setup.setTitle)
        setup.setTitle("Vorrak projekt - " + side + " vs " + link->peerName());
}

// Said once the other side's first inputs came: only then has its match begun too. A side that
// found the other's choice acceptable would otherwise say so before hearing it was refused.
void NetPlay::announce() {
    if (announced)
        return;
    announced = true;
    report(std::string("Online play: ") +
           (setup.host ? "left fighter (host)" : "right fighter (guest)") + " vs " +
           link->peerName());
}

bool NetPlay::handle(const net::Message& message) {
    if (std::holds_alternative<net::Hello>(message)) {
        // The guest has not heard the host's answer yet.
        if (setup.host)
            greet();
    } else if (const auto* inputs = std::get_if<net::Inputs>(&message)) {
        announce();
        session->receive(*inputs);
    } else if (const auto* checksum = std::get_if<net::Checksum>(&message)) {
        session->receive(*checksum);
    } else if (const auto* quit = std::get_if<net::Quit>(&message)) {
        if (quit->session != sessionId)
            return true;
        const bool agreed = byAgreement(quit->reason);
        const std::string why = "Online play ended: " + link->peerName() + " " + whyQuit(*quit);
        if (!agreed)
            fail(why, {});
        // The other side's every frame came before its quit; it waits for ours.
        if (!ending)
            sendLastWord(quit->reason);
        if (!ending)
            report(why);
        endByAgreement();
    }
    return true;
}

// Every local frame the other side may lack goes ahead of the quit, on the reliable channel,
// and the session steps no more: both sides then know both inputs of every step either ran.
void NetPlay::sendLastWord(net::QuitReason reason) {
    link->send(session->inputsToSend(), true);
    link->send(net::Quit{sessionId, reason, session->localFrames()}, true);
    link->flush();
}

// Both sides end on the same step, show it and record the match up to it.
void NetPlay::endByAgreement() {
    ended = true;
    settle();
    if (spectators) {
        const MatchState atEnd = match.save();
        spectators->end(net::QuitReason::Escape, &atEnd);
        sendToSpectators();
    }
    closing = Clock::now();
}

// ENet sends what the other side still lacks again until it is acknowledged: the link is
// served until then, two seconds at most, and closed as soon as it is. The other side may have
// closed already, so no goodbye of the link's own is waited for beyond that.
bool NetPlay::linger() {
    if (!link->poll().disconnected && link->isConnected() && !link->delivered() &&
        Clock::now() - *closing < std::chrono::duration<double>(lingerLimit))
        return true;
    link->close();
    return false;
}

void NetPlay::finish() {
    if (ended)
        return;
    if (!session) {
        tellAndClose(net::QuitReason::Closed);
        return;
    }
    if (!ending)
        sendLastWord(net::QuitReason::Closed);
    const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                             std::chrono::duration<double>(setup.silenceLimit));
    while (Clock::now() < deadline) {
        for (const net::Message& message : link->poll().messages) {
            if (const auto* inputs = std::get_if<net::Inputs>(&message))
                session->receive(*inputs);
            else if (const auto* quit = std::get_if<net::Quit>(&message);
                     quit && quit->session == sessionId && !closing)
                endByAgreement();
        }
        if (closing || !link->isConnected())
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (!closing)
        endByAgreement();
    while (linger())
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

bool NetPlay::play(const StepInput& keyboard) {
    const std::uint16_t local =
        NetInput::encode(merged(keyboard.players[0], keyboard.players[1]), keyboard.keys);
    session->step(local);
    link->send(session->inputsToSend(), false);
    for (const net::Checksum& checksum : session->takeChecksums()) {
        link->send(checksum, true);
        if (spectators)
            spectators->checksum(checksum);
    }
    sendToSpectators();
    link->flush();
    if (const std::optional<int> step = session->desyncStep())
        fail("Online play ended: the match lost sync at step " + std::to_string(*step) +
                 " (the two sides' checksums differ)",
             net::QuitReason::Desync, *step);
    showConnection();
    return true;
}

// The round trip and the rollback, or how long the other side has been silent.
void NetPlay::showConnection() {
    int& oldest = rolledBack[tick++ % 60];
    rolledBackLastSecond += session->stats().lastRolledBack - oldest;
    oldest = session->stats().lastRolledBack;
    const double silence = link->secondsSinceHeard();
    if (silence >= interruption) {
        if (!interrupted)
            Ogre::LogManager::getSingleton().logMessage("Online play: connection interrupted");
        interrupted = true;
        display->show("connection interrupted (" +
                      std::to_string(static_cast<int>(std::floor(silence))) + " s)");
        return;
    }
    if (interrupted)
        Ogre::LogManager::getSingleton().logMessage("Online play: connection back");
    interrupted = false;
    display->show("RTT " + std::to_string(link->roundTripMs()) + " ms   rollback " +
                  std::to_string(rolledBackLastSecond) + " steps/s   waited " +
                  std::to_string(session->stats().waited + session->stats().skipped) + " steps" +
                  (meeting ? "   " + meeting->route(*link) : std::string()) + watchingLine());
}

ConnectionFigures NetPlay::connection() const {
    ConnectionFigures figures;
    figures.roundTripMs = static_cast<int>(link->roundTripMs());
    figures.inputDelay = setup.inputDelay;
    for (int steps : rolledBack) {
        figures.rollbacksPerSecond += steps > 0;
        figures.deepestRollback = std::max(figures.deepestRollback, steps);
    }
    if (session) {
        const RollbackSession::Stats& stats = session->stats();
        figures.packetsLost = stats.inputsLost;
        const int sent = stats.inputsLost + stats.inputsHeard;
        figures.packetLossPercent = sent > 0 ? 100.0 * stats.inputsLost / sent : 0;
    }
    figures.spectators = spectators ? spectators->watching() : 0;
    return figures;
}

// Spectators come and go at any time, before the match too; what they say is only how far
// they got.
void NetPlay::serveSpectators(const EnetLink::Polled& polled) {
    if (!spectators)
        return;
    // A spectator's slot may go to a new one in the same poll: first who left.
    for (int id : polled.spectatorsLeft)
        spectators->leave(id);
    for (int id : polled.spectatorsJoined) {
        spectators->join(id);
        Ogre::LogManager::getSingleton().logMessage("Online play: a spectator joined");
    }
    for (const auto& [id, message] : polled.fromSpectators)
        if (const auto* watching = std::get_if<net::Watching>(&message))
            spectators->heard(id, *watching);
    if (!session)
        sendToSpectators();
}

void NetPlay::sendToSpectators() {
    if (!spectators)
        return;
    for (const SpectatorFeed::Outgoing& outgoing : spectators->take())
        link->sendTo(outgoing.spectator, outgoing.message);
    for (int id : spectators->takeLeftBehind()) {
        link->dropSpectator(id);
        Ogre::LogManager::getSingleton().logMessage(
            "Online play: a spectator fell more than 10 s behind and was let go");
    }
}

std::string NetPlay::watchingLine() const {
    if (!spectators || spectators->watching() == 0)
        return "";
    return "   " + std::to_string(spectators->watching()) + " watching";
}

// The match ends on the last step both sides' inputs are known for, every step before it
// confirmed: the match shown and logged, its recording and the spectators' all end there, and no
// guess of the other side's input outlives the match.
void NetPlay::settle() {
    const int end = session->finish();
    match.restore(session->stateBefore(end));
    Ogre::LogManager::getSingleton().logMessage("Online play: the match ends before step " +
                                                std::to_string(end));
}

void NetPlay::fail(const std::string& reason, std::optional<net::QuitReason> tell, int step) {
    // Without the other side's last word too, the match ends where both sides' inputs are known.
    if (session && !ended)
        settle();
    // The spectators see the confirmed match to its last step.
    if (spectators) {
        spectators->end(net::QuitReason::Lost, nullptr);
        sendToSpectators();
    }
    if (tell)
        tellAndClose(*tell, step);
    ended = true;
    link->close();
    Ogre::LogManager::getSingleton().logMessage(reason);
    throw OnlineError(reason);
}

void NetPlay::report(const std::string& line) {
    Ogre::LogManager::getSingleton().logMessage(line);
    std::cerr << "vorrak: " << line << std::endl;
}

void NetPlay::tellAndClose(net::QuitReason reason, int step) {
    ended = true;
    link->send(net::Quit{sessionId, reason, step}, true);
    link->close(goodbyeWaitMs);
}
