#include "app/NetPlay.h"

#include <iostream>
#include <random>
#include <stdexcept>

#include <OgreLogManager.h>

#include "match/Match.h"
#include "match/MatchState.h"
#include "net/EnetLink.h"
#include "net/NetInput.h"
#include "net/RollbackSession.h"
#include "render/ConnectionDisplay.h"
#include "replay/ReplayRecorder.h"

namespace {

// Silence longer than this ends the match.
constexpr double connectionTimeout = 3.0;

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
        return "runs another version, other character data or other rules";
    case net::QuitReason::Desync:
        return "found the match out of sync";
    case net::QuitReason::Protocol:
        return "received a malformed message";
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
    link = this->setup.host ? EnetLink::host(this->setup.port)
                            : EnetLink::join(this->setup.hostName, this->setup.port);
    if (this->setup.host)
        sessionId = std::random_device{}() | 1;
    display->show(this->setup.host ? "Waiting for a player on port " + std::to_string(this->setup.port)
                                   : "Connecting to " + link->peerName());
}

// However the game ends here (the window closed, a signal, an error), the other side is told.
NetPlay::~NetPlay() {
    if (!ended)
        tellAndClose(net::QuitReason::Closed);
}

std::string NetPlay::title(bool host, const std::string& hostName, std::uint16_t port) {
    return host ? "Vorrak projekt - left fighter (host), waiting on port " + std::to_string(port)
                : "Vorrak projekt - right fighter (guest), joining " + hostName + ":" +
                      std::to_string(port);
}

bool NetPlay::step(const StepInput& keyboard) {
    EnetLink::Polled polled = link->poll();
    if (polled.malformedReliable)
        fail("Online play ended: " + link->peerName() + " sent a malformed message",
             net::QuitReason::Protocol);
    if (polled.malformedUnreliable > 0) {
        malformed += polled.malformedUnreliable;
        Ogre::LogManager::getSingleton().logMessage("Online play: dropped " +
                                                    std::to_string(malformed) +
                                                    " malformed input packets so far");
    }
    if (polled.connected && !setup.host)
        link->send(net::Hello{net::protocolVersion, setup.dataHash, 0}, true);
    for (const net::Message& message : polled.messages)
        if (!(session ? handle(message) : handshake(message)))
            return false;
    if (polled.disconnected)
        fail("Online play ended: connection lost (" + link->peerName() + " disconnected)", {});
    if ((link->isConnected() || !setup.host) && link->secondsSinceHeard() > connectionTimeout)
        fail("Online play ended: connection lost (nothing from " + link->peerName() +
                 " for 3 s)",
             {});
    if (keyboard.keys.quit) {
        tellAndClose(net::QuitReason::Escape);
        return false;
    }
    return session ? play(keyboard) : true;
}

// The guest speaks first; the host answers with its own hello and the session id. Each side
// sends its rules once the other's hello passed, so a game that speaks another version hears
// nothing it cannot read; then each checks the other's rules, so a difference is named on both
// sides.
bool NetPlay::handshake(const net::Message& message) {
    if (const auto* hello = std::get_if<net::Hello>(&message)) {
        checkHello(*hello);
        greeted = true;
    } else if (const auto* rules = std::get_if<net::Rules>(&message); rules && greeted) {
        checkRules(rules->rules);
        startSession();
    }
    // Anything else came before the other side's hello and rules: inputs come again.
    return true;
}

void NetPlay::checkHello(const net::Hello& hello) {
    if (setup.host)
        link->send(net::Hello{net::protocolVersion, setup.dataHash, sessionId}, true);
    if (hello.version != net::protocolVersion)
        fail("Online play ended: " + link->peerName() + " speaks protocol version " +
                 std::to_string(hello.version) + ", this game version " +
                 std::to_string(net::protocolVersion),
             net::QuitReason::Mismatch);
    if (hello.dataHash != setup.dataHash)
        fail("Online play ended: " + link->peerName() +
                 " has other character data (its hash differs from this game's)",
             net::QuitReason::Mismatch);
    if (!setup.host)
        sessionId = hello.session;
    link->send(net::Rules{setup.rules}, true);
}

void NetPlay::checkRules(const MatchRules& rules) {
    if (rules != setup.rules)
        fail("Online play ended: " + link->peerName() + " plays by other rules (" +
                 describeRules(rules) + ", this game " + describeRules(setup.rules) + ")",
             net::QuitReason::Mismatch);
}

void NetPlay::startSession() {
    session = std::make_unique<RollbackSession>(match, setup.host ? 0 : 1, setup.inputDelay,
                                                sessionId);
    ReplayRecorder* recorder = setup.recorder.get();
    // Without a recording or a versus result to report, nothing waits for confirmed steps.
    const auto matchEnd = setup.rules.versus ? setup.onMatchEnd : nullptr;
    if (recorder || matchEnd)
        session->onConfirmed = [recorder, matchEnd](int, const StepInput& input,
                                                    const MatchState& after) {
            if (recorder)
                recorder->record(input, after);
            if (matchEnd && after.round.phase == RoundState::MatchOver)
                matchEnd(after.round);
        };
    const std::string side = setup.host ? "left fighter (host)" : "right fighter (guest)";
    report("Online play: " + side + " vs " + link->peerName());
    if (setup.setTitle)
        setup.setTitle("Vorrak projekt - " + side + " vs " + link->peerName());
}

bool NetPlay::handle(const net::Message& message) {
    if (const auto* inputs = std::get_if<net::Inputs>(&message)) {
        session->receive(*inputs);
    } else if (const auto* checksum = std::get_if<net::Checksum>(&message)) {
        session->receive(*checksum);
    } else if (const auto* quit = std::get_if<net::Quit>(&message)) {
        if (quit->session != sessionId)
            return true;
        const std::string why = "Online play ended: " + link->peerName() + " " +
                                describe(quit->reason) +
                                (quit->reason == net::QuitReason::Desync
                                     ? " at step " + std::to_string(quit->step)
                                     : "");
        ended = true;
        link->close();
        if (quit->reason == net::QuitReason::Escape || quit->reason == net::QuitReason::Closed) {
            report(why);
            return false;
        }
        throw std::runtime_error(why);
    }
    return true;
}

bool NetPlay::play(const StepInput& keyboard) {
    const std::uint16_t local =
        NetInput::encode(merged(keyboard.players[0], keyboard.players[1]), keyboard.keys);
    session->step(local);
    link->send(session->inputsToSend(), false);
    for (const net::Checksum& checksum : session->takeChecksums())
        link->send(checksum, true);
    link->flush();
    if (const std::optional<int> step = session->desyncStep())
        fail("Online play ended: the match lost sync at step " + std::to_string(*step) +
                 " (the two sides' checksums differ)",
             net::QuitReason::Desync, *step);

    int& oldest = rolledBack[tick++ % 60];
    rolledBackLastSecond += session->stats().lastRolledBack - oldest;
    oldest = session->stats().lastRolledBack;
    display->show("RTT " + std::to_string(link->roundTripMs()) + " ms   rollback " +
                  std::to_string(rolledBackLastSecond) + " steps/s   waited " +
                  std::to_string(session->stats().waited + session->stats().skipped) + " steps");
    return true;
}

void NetPlay::fail(const std::string& reason, std::optional<net::QuitReason> tell, int step) {
    if (tell)
        tellAndClose(*tell, step);
    ended = true;
    link->close();
    Ogre::LogManager::getSingleton().logMessage(reason);
    throw std::runtime_error(reason);
}

void NetPlay::report(const std::string& line) {
    Ogre::LogManager::getSingleton().logMessage(line);
    std::cerr << "vorrak: " << line << std::endl;
}

void NetPlay::tellAndClose(net::QuitReason reason, int step) {
    ended = true;
    link->send(net::Quit{sessionId, reason, step}, true);
    link->close();
}
