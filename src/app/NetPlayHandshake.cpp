// The handshake of online play: the guest's greetings, each side's Hello, rules and choice of
// fighters and stage checked, and a refusal told in words.
#include "app/NetPlay.h"

#include <algorithm>
#include <chrono>

#include "app/PeerMeeting.h"
#include "match/Match.h"
#include "net/EnetLink.h"
#include "net/OnlineError.h"
#include "render/ConnectionDisplay.h"
#include "roster/Roster.h"

namespace {

// The guest greets the host this often until it answers.
constexpr double greetingInterval = 0.25;

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
