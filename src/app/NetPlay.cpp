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

namespace {

// Silence this long is shown on the HUD.
constexpr double interruption = 1.0;
// A refusal or a fault told to the other side waits this long at most for its acknowledgement:
// through a lossy link the message or its acknowledgement may be lost twice and sent again.
constexpr int goodbyeWaitMs = 2000;
// After a match ended by agreement, the other side acknowledges what it still lacked within
// this long (a message and its resend may both be lost), or is gone.
constexpr double lingerLimit = 2.0;

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

} // namespace

bool NetPlay::byAgreement(net::QuitReason reason) {
    return reason == net::QuitReason::Escape || reason == net::QuitReason::Closed;
}

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
