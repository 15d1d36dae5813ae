#include "app/SpectatorPlay.h"

#include <cmath>
#include <iomanip>
#include <iostream>
#include <sstream>

#include <OgreLogManager.h>

#include "match/Match.h"
#include "match/MatchStateCodec.h"
#include "match/checksum.h"
#include "net/EnetLink.h"
#include "net/OnlineError.h"
#include "render/ConnectionDisplay.h"
#include "replay/ReplayFormat.h"
#include "replay/ReplayRecorder.h"
#include "roster/Roster.h"

namespace {

// Steps beyond the delay before the playback speeds up: the steps come six to a message and
// the network adds its own unevenness.
constexpr int catchUpSlack = 12;
// Behind by more than that, one step in four is doubled: a quarter faster than the clock.
constexpr int catchUpEvery = 4;
// How often the host hears how far this spectator got.
constexpr int reportEvery = 30;

void log(const std::string& line) {
    Ogre::LogManager::getSingleton().logMessage(line);
}

} // namespace

SpectatorPlay::SpectatorPlay(Match& match, Setup setup)
    : match(match), view(match), setup(std::move(setup)),
      display(std::make_unique<ConnectionDisplay>()) {
    const auto peerTimeoutMs = static_cast<std::uint32_t>(this->setup.silenceLimit * 1000) + 5000;
    link = EnetLink::join(this->setup.hostName, this->setup.port, peerTimeoutMs, true);
    display->show("waiting for " + hostLabel());
}

SpectatorPlay::~SpectatorPlay() = default;

std::string SpectatorPlay::title(const std::string& hostName, std::uint16_t port) {
    return "Vorrak projekt - spectator, waiting for " + hostName + ":" + std::to_string(port);
}

std::string SpectatorPlay::hostLabel() const {
    return setup.hostName + ":" + std::to_string(setup.port);
}

bool SpectatorPlay::step(const StepInput& keyboard) {
    if (keyboard.keys.quit) {
        log("Watching: left at step " + std::to_string(next));
        link->close();
        return false;
    }
    hear();
    // The viewer's F1 to F3 once there is a match to show; the match stays as the host's.
    if (first)
        view.switchDisplays(keyboard.keys);
    if (!first) {
        if (hostGone)
            fail("Watching ended: connection lost (" + goneReason + ")");
        if (Clock::now() - started > std::chrono::duration<double>(setup.joinTimeout))
            fail("Watching: no answer from " + hostLabel());
        return true;
    }
    play();
    if (last && next >= *last) {
        const std::string line = "Watching: the match ended before step " + std::to_string(*last);
        log(line);
        std::cerr << "vorrak: " << line << std::endl;
        link->close();
        return false;
    }
    if (hostGone && playable() == 0)
        fail("Watching ended: connection lost (" + goneReason + ")");
    if (++tick % reportEvery == 0) {
        link->send(net::Watching{session, next}, false);
        link->flush();
    }
    show();
    return true;
}

void SpectatorPlay::hear() {
    const EnetLink::Polled polled = link->poll();
    if (polled.noSpectators)
        fail("Watching: " + hostLabel() + " takes no spectators");
    if (polled.leftBehind)
        fail("Watching ended: this spectator fell more than 10 s behind the match and " +
             hostLabel() + " let it go");
    if (polled.malformedReliable)
        fail("Watching ended: " + hostLabel() + " sent a malformed message");
    for (const net::Message& message : polled.messages)
        handle(message);
    if (polled.disconnected && !first) {
        // The host may be starting again: try until the join time is up.
        greeted = false;
        link->connect();
    } else if (polled.disconnected && !hostGone) {
        hostGone = true;
        goneReason = hostLabel() + " disconnected";
    }
    if (!hostGone && link->isConnected() && link->secondsSinceHeard() > setup.silenceLimit) {
        std::ostringstream seconds;
        seconds << setup.silenceLimit;
        hostGone = true;
        goneReason = "nothing from " + hostLabel() + " for " + seconds.str() + " s";
    }
}

void SpectatorPlay::handle(const net::Message& message) {
    if (const auto* hello = std::get_if<net::Hello>(&message))
        return checkHello(*hello);
    if (const auto* start = std::get_if<net::Start>(&message)) {
        if (greeted && !first && start->session == session)
            begin(*start);
    } else if (const auto* batch = std::get_if<net::Steps>(&message)) {
        if (first && batch->session == session)
            receive(*batch);
    } else if (const auto* sum = std::get_if<net::Checksum>(&message)) {
        if (first && sum->session == session && sum->step >= next)
            checksums[sum->step] = sum->value;
    } else if (const auto* quit = std::get_if<net::Quit>(&message)) {
        if (first && quit->session == session && quit->step >= next && !last) {
            last = quit->step;
            if (quit->reason == net::QuitReason::Lost)
                log("Watching: the players lost their connection; the match ends there");
        }
    }
}

void SpectatorPlay::checkHello(const net::Hello& hello) {
    if (hello.version != net::protocolVersion)
        fail("Watching: " + hostLabel() + " speaks protocol version " +
             std::to_string(hello.version) + ", this game version " +
             std::to_string(net::protocolVersion));
    session = hello.session;
    greeted = true;
}

// The fighters and the stage as the host has them, file for file.
void SpectatorPlay::checkLineup(const Lineup& lineup) {
    const Roster roster(setup.mediaFolder);
    for (const Lineup::Entry& fighter : lineup.fighters) {
        const Roster::Holding holding = roster.holdsFighter(fighter);
        if (holding != Roster::Holding::Same)
            fail("Watching: " + hostLabel() + " plays the fighter '" + fighter.name + "'" +
                 (holding == Roster::Holding::Missing
                      ? ", which this game does not have"
                      : " from another file than this game's (" +
                            roster.fighterFolder(fighter.name) + "/fighter.toml" +
                            Roster::howDifferent(holding) + ")"));
    }
    const Roster::Holding holding = roster.holdsStage(lineup.stage);
    if (holding != Roster::Holding::Same)
        fail("Watching: " + hostLabel() + " plays on the stage '" + lineup.stage.name + "'" +
             (holding == Roster::Holding::Missing ? ", which this game does not have"
                                                  : " from another file than this game's (" +
                                                        roster.stageFile(lineup.stage.name) +
                                                        Roster::howDifferent(holding) + ")"));
}

// The match as the host had it confirmed before the step, with the host's fighters and stage,
// under the host's rules.
void SpectatorPlay::begin(const net::Start& start) {
    checkLineup(start.lineup);
    if (setup.cast)
        setup.cast(start.lineup);
    match.start(start.rules);
    std::optional<MatchState> state;
    if (start.step > 0) {
        state = MatchStateCodec::decode(start.state.data(), start.state.size());
        if (!state || state->rules != start.rules || !match.fits(*state))
            fail("Watching ended: " + hostLabel() + " sent a match this game cannot show");
        match.restore(*state);
    }
    first = start.step;
    next = start.step;
    if (setup.makeRecorder)
        recorder = setup.makeRecorder(start.rules, state ? &*state : nullptr, start.step);
    log("Watching: " + hostLabel() + " from step " + std::to_string(start.step));
    if (setup.setTitle)
        setup.setTitle("Vorrak projekt - watching " + hostLabel());
}

// The host sends every confirmed step once, in order; one sent again is skipped.
void SpectatorPlay::receive(const net::Steps& batch) {
    const int known = *first + static_cast<int>(steps.size());
    if (batch.firstStep > known)
        fail("Watching ended: " + hostLabel() + " skipped steps " + std::to_string(known) + " to " +
             std::to_string(batch.firstStep - 1));
    for (std::size_t i = 0; i < batch.steps.size(); ++i)
        if (batch.firstStep + static_cast<int>(i) >= known)
            steps.push_back(batch.steps[i]);
    const int end = *first + static_cast<int>(steps.size());
    if (end > known)
        arrivals.emplace_back(end, Clock::now());
    if (steps.size() > ReplayFormat::maxSteps)
        fail("Watching ended: the match is longer than a day of play");
}

// A delay behind the host's confirmed match: first the buffer fills up to it; when it runs dry
// it fills again; when it holds more, one step in four is doubled.
void SpectatorPlay::play() {
    const int buffered = playable();
    const bool final = last || hostGone;
    if (!playing && buffered < setup.delaySteps && !final)
        return;
    playing = buffered > 0 || final;
    if (!playing)
        return;
    playOne();
    if (buffered - 1 > setup.delaySteps + catchUpSlack && tick % catchUpEvery == 0)
        playOne();
}

void SpectatorPlay::playOne() {
    if (const auto sum = checksums.find(next); sum != checksums.end()) {
        if (checksum(view.recordedState()) != sum->second)
            fail("Watching ended: the match went out of sync at step " + std::to_string(next) +
                 " (the host's checksum differs)");
        checksums.erase(sum);
    }
    if (playable() == 0 || (last && next >= *last))
        return;
    const StepInput input =
        ReplayFormat::decodeStep(steps[static_cast<std::size_t>(next - *first)]);
    presentedStep(match, next, [&] { return view.step(input); });
    if (recorder)
        recorder->record(input, view.recordedState());
    ++next;
}

const std::string& SpectatorPlay::topLine() const { return display->line(); }

ConnectionFigures SpectatorPlay::connection() const {
    ConnectionFigures figures;
    figures.player = false;
    figures.roundTripMs = static_cast<int>(link->roundTripMs());
    return figures;
}

// Behind the host by the time since the step shown came, and half the round trip it took to
// come: a count of steps waiting would read near nothing whenever the host had paused for its
// guest, though the picture is as late as ever. Until a step is shown, the steps waiting.
void SpectatorPlay::show() {
    while (arrivals.size() > 1 && arrivals.front().first < next)
        arrivals.pop_front();
    double behind = playable() / 60.0;
    if (first && next > *first && !arrivals.empty())
        behind = std::chrono::duration<double>(Clock::now() - arrivals.front().second).count() +
                 link->roundTripMs() / 2000.0;
    std::ostringstream line;
    line << "watching " << hostLabel() << "   " << std::fixed << std::setprecision(1) << behind
         << " s behind";
    if (!playing)
        line << " (filling)";
    display->show(line.str());
}

void SpectatorPlay::fail(const std::string& reason) {
    log(reason);
    link->close();
    throw OnlineError(reason);
}
