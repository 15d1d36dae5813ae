#include "training/TrainingPlay.h"

#include <iomanip>
#include <sstream>
#include <stdexcept>

#include "anim/CharacterData.h"
#include "collision/HitProps.h"
#include "cpu/ComputerPlayer.h"
#include "fighter/Player.h"
#include "match/Game.h"
#include "match/Match.h"
#include "match/StepPresenter.h"
#include "match/checksum.h"
#include "render/MatchView.h"
#include "render/TrainingDisplay.h"
#include "replay/Replay.h"
#include "replay/loadReplayStart.h"

namespace {

// Each key that is down now and was up on the tick before.
ProgramKeys wentDown(const ProgramKeys& now, const ProgramKeys& before) {
    ProgramKeys down;
    down.frameMeter = now.frameMeter && !before.frameMeter;
    down.pause = now.pause && !before.pause;
    down.stepForward = now.stepForward && !before.stepForward;
    down.stepBack = now.stepBack && !before.stepBack;
    down.reset = now.reset && !before.reset;
    down.recordDummy = now.recordDummy && !before.recordDummy;
    down.playDummy = now.playDummy && !before.playDummy;
    down.takeOver = now.takeOver && !before.takeOver;
    return down;
}

bool displayKeys(const ProgramKeys& keys) {
    return keys.hideDebugDisplays || keys.showInputPanels || keys.showHitboxes;
}

std::string stepsText(int count) {
    return std::to_string(count) + (count == 1 ? " step" : " steps");
}

bool ownInput(const InputFrame& frame) {
    return frame.direction != Direction::Neutral || frame.pressed[0] || frame.pressed[1];
}

// Where the lab starts, and where F8 takes it back to: the match as started, or where the
// replay starts.
MatchState startOf(Match& match, const Replay* replay) {
    if (replay)
        loadReplayStart(match, *replay);
    return match.save();
}

} // namespace

TrainingPlay::TrainingPlay(Match& match, Game& game, MatchView& screen,
                           std::unique_ptr<Replay> replay)
    : match(match), game(game), screen(screen), replay(std::move(replay)), view(match),
      start(startOf(match, this->replay.get())),
      display(std::make_unique<TrainingDisplay>(start.rules.versus)), shownStatus(status()) {
    screen.showFacingEachOther(!fromMiddle());
    display->showStatus(shownStatus);
}

TrainingPlay::~TrainingPlay() = default;

bool TrainingPlay::step(const StepInput& keyboard) {
    if (keyboard.keys.quit)
        return false;
    const ProgramKeys pressed = wentDown(keyboard.keys, heldBefore);
    heldBefore = keyboard.keys;
    if (noticeLeft > 0)
        --noticeLeft;
    const bool meterWasOn = meterOn;
    changed = false;
    handleKeys(pressed);
    if (replayDriving())
        view.switchDisplays(keyboard.keys);

    rewinding = keyboard.keys.stepBack && !pausedNow;
    if (keyboard.keys.stepBack)
        goBack(pressed.stepBack);
    else if (pausedNow)
        holdStill(keyboard, pressed.stepForward);
    else {
        if (pressed.stepForward)
            notice("F6 steps only while paused: F5 pauses");
        play(keyboard);
    }
    display->showMeter(meterOn ? &frameMeter : nullptr);
    const std::string line = status();
    changed = changed || meterOn != meterWasOn || line != shownStatus;
    shownStatus = line;
    display->showStatus(shownStatus);
    return true;
}

void TrainingPlay::finish() {
    if (replayDriving())
        view.settle();
}

// In this order: a reset and F5 pressed together give a paused start. Both drop the buttons
// pressed while paused: those are for F6.
void TrainingPlay::handleKeys(const ProgramKeys& pressed) {
    if (pressed.frameMeter)
        meterOn = !meterOn;
    if (pressed.reset)
        reset();
    if (pressed.recordDummy)
        toggleRecording();
    if (pressed.playDummy)
        togglePlayback();
    if (pressed.takeOver)
        takeOver();
    if (pressed.pause) {
        pausedNow = !pausedNow;
        dropPendingPresses();
    }
    // A paused match is silent, and a reset stops what was playing.
    if ((pressed.pause && pausedNow) || pressed.reset)
        silence();
}

void TrainingPlay::silence() {
    if (presenter)
        presenter->silence();
}

void TrainingPlay::goBack(bool justPressed) {
    backHeldTicks = justPressed ? 0 : backHeldTicks + 1;
    if (pausedNow && !justPressed && backHeldTicks < repeatDelayTicks)
        return;
    if (rewind.empty()) {
        if (justPressed)
            notice("F7: nothing older to go back to");
        return;
    }
    const RewindHistory::Entry& entry = rewind.pop();
    // Going back is heard as nothing.
    silence();
    show(entry.match, entry.step);
    view.setRecordedDisplays(entry.recordedDisplays);
    changed = true;
    frameMeter = entry.meter;
    steps = entry.step;
    ++stepsBack;
    if (recording)
        dummyRecording.truncate(entry.dummyRecorded);
    dummyStep = entry.dummyStep;
}

// No step runs, but the displays switch at once (over a replay the step's caller switched
// them), and a button pressed now is kept for the step F6 runs: hold the keys, then tap F6.
// F6 held repeats after the delay that makes a tap one step.
void TrainingPlay::holdStill(const StepInput& keyboard, bool stepPressed) {
    if (!replayDriving()) {
        if (displayKeys(keyboard.keys)) {
            match.applyProgramKeys(keyboard.keys);
            changed = true;
        }
        for (int player = 0; player < 2; ++player)
            for (int button = 0; button < 2; ++button)
                pendingPresses[player][button] |= keyboard.players[player].pressed[button];
    }
    stepHeldTicks = stepPressed ? 0 : stepHeldTicks + 1;
    const bool repeat = keyboard.keys.stepForward && stepHeldTicks >= repeatDelayTicks &&
                        (stepHeldTicks - repeatDelayTicks) % stepRepeatTicks == 0;
    if (stepPressed || repeat)
        play(withPendingPresses(keyboard));
}

// The buttons pressed while paused count for the step F6 runs.
StepInput TrainingPlay::withPendingPresses(StepInput input) {
    for (int player = 0; player < 2; ++player)
        for (int button = 0; button < 2; ++button) {
            input.players[player].pressed[button] |= pendingPresses[player][button];
            pendingPresses[player][button] = false;
        }
    return input;
}

void TrainingPlay::dropPendingPresses() {
    for (auto& buttons : pendingPresses)
        buttons[0] = buttons[1] = false;
}

// At the replay's end the lab stands paused, so F7 and F6 step as they do in any pause.
void TrainingPlay::play(StepInput input) {
    if (replayDriving() && static_cast<std::size_t>(steps) == replay->steps.size()) {
        pausedNow = true;
        return;
    }
    RewindHistory::Entry before;
    before.match = match.save();
    before.meter = frameMeter;
    before.step = steps;
    before.recordedDisplays = view.recordedDisplays();
    before.dummyRecorded = recording ? dummyRecording.size() : 0;
    before.dummyStep = dummyStep;
    rewind.push(before);
    const FrameMeter::Sample first = sampleBefore(0), second = sampleBefore(1);
    if (replayDriving()) {
        presentedStep(match, firstStep() + steps,
                      [&] { return view.step(replay->step(static_cast<std::size_t>(steps))); });
    } else {
        computerInput(input.players[1]);
        dummyInput(input.players[1]);
        presentedStep(match, input, firstStep() + steps);
    }
    changed = true;
    screen.showFacingEachOther(false);
    frameMeter.step({first.before, first.attackLive, game.player1->state},
                    {second.before, second.attackLive, game.player2->state});
    ++steps;
    stepsBack = 0;
    if (!replayDriving())
        return;
    checkReplay();
    if (static_cast<std::size_t>(steps) == replay->steps.size())
        pausedNow = true;
}

// The match's start is shown with the fighters facing each other, as no step has turned them
// yet; a replay from the middle of a match starts turned.
void TrainingPlay::show(const MatchState& state, int step) {
    match.restore(state);
    screen.showFacingEachOther(step == 0 && !fromMiddle());
}

// The computer is shown every step that runs, so what it sees stays in step with the match.
void TrainingPlay::computerInput(InputFrame& second) {
    if (!computer)
        return;
    const InputFrame frame = computer->next(match.save());
    if (!playing && !recording)
        second = frame;
}

// The dummy plays until the second player touches a key; a recording takes what was played.
void TrainingPlay::dummyInput(InputFrame& second) {
    const bool facingLeft = game.player2->state.facingLeft;
    if (playing && ownInput(second)) {
        playing = false;
        notice("dummy stopped: the second player took over");
    }
    if (playing)
        second = dummyRecording.frameAt(dummyStep++, facingLeft);
    if (recording && !dummyRecording.record(second, facingLeft)) {
        recording = false;
        notice("dummy recording full: " + std::to_string(DummyRecording::maxSteps) + " steps");
    }
}

FrameMeter::Sample TrainingPlay::sampleBefore(int fighter) const {
    const Player& player = fighter == 0 ? *game.player1 : *game.player2;
    FrameMeter::Sample sample;
    sample.before = player.state;
    sample.attackLive = player.animation.hasHitProps() && player.animation.currentHitProps()->active;
    // A projectile out is its move's attack; a throw's is the step it grabs on.
    const auto& grab = player.character->throwMove;
    const bool flying = game.projectiles[static_cast<std::size_t>(fighter)].active;
    const bool grabbing = grab && player.state.action == PlayerState::Throw &&
                          player.animation.sprite.position().currentFrame == grab->grab - 2;
    sample.attackLive = sample.attackLive || flying || grabbing;
    return sample;
}

// As a plain playback checks it: every 60 steps and after the last.
void TrainingPlay::checkReplay() const {
    const std::size_t played = static_cast<std::size_t>(steps);
    const std::size_t interval = ReplayFormat::checkpointInterval;
    std::uint64_t recorded = 0;
    if (played == replay->steps.size())
        recorded = replay->finalChecksum;
    else if (played % interval == 0)
        recorded = replay->checkpoints[played / interval - 1];
    else
        return;
    const std::uint64_t actual = checksum(view.recordedState());
    if (actual == recorded)
        return;
    std::ostringstream report;
    report << std::hex << std::setfill('0') << "The replay '" << replay->source
           << "' went out of sync at step " << std::dec << played << std::hex
           << ": the match's checksum is " << std::setw(16) << actual << ", the recording's "
           << std::setw(16) << recorded;
    throw std::runtime_error(report.str());
}

// The start again with the displays as they are; a replay starts over as recorded, the
// displays being the viewer's. The dummy's playback starts over too.
void TrainingPlay::reset() {
    MatchState state = start;
    const MatchState now = match.save();
    for (std::size_t side = 0; side < 2; ++side) {
        state.fighters[side].hitboxesShown = now.fighters[side].hitboxesShown;
        state.panels[side].visible = now.panels[side].visible;
    }
    if (replayDriving())
        view.setRecordedDisplays(displaysOf(start));
    show(state, 0);
    changed = true;
    rewind.clear();
    frameMeter.clear();
    steps = 0;
    stepsBack = 0;
    dummyStep = 0;
    dropPendingPresses();
}

void TrainingPlay::toggleRecording() {
    if (replayDriving())
        return notice("F9: the replay drives both fighters; F11 takes over");
    if (playing)
        return notice("F9: the dummy is playing; F10 stops it");
    recording = !recording;
    if (recording)
        dummyRecording.clear();
}

void TrainingPlay::togglePlayback() {
    if (replayDriving())
        return notice("F10: the replay drives both fighters; F11 takes over");
    if (playing) {
        playing = false;
        return;
    }
    if (recording)
        recording = false;
    if (dummyRecording.empty())
        return notice("F10: no dummy recording; F9 records one");
    playing = true;
    dummyStep = 0;
}

void TrainingPlay::takeOver() {
    if (!replay)
        return notice("F11 takes over a replay: start with --training --replay FILE");
    if (tookOver)
        return notice("F11: the replay was taken over already");
    tookOver = true;
    view.setRecordedDisplays(std::nullopt);
    notice("taken over at step " + std::to_string(steps) + ": the keyboard drives");
}

void TrainingPlay::notice(std::string text) {
    noticeText = std::move(text);
    noticeLeft = noticeTicks;
}

std::string TrainingPlay::status() const {
    std::string line = "training";
    const auto add = [&line](const std::string& part) { line += "  |  " + part; };
    if (replayDriving()) {
        const std::size_t total = replay->steps.size();
        add(static_cast<std::size_t>(steps) == total
                ? "replay ended: F7 goes back, F11 takes over"
                : "replay step " + std::to_string(steps) + " of " + std::to_string(total));
    }
    if (rewinding)
        add("rewinding: " + stepsText(stepsBack) + " back");
    else if (pausedNow)
        add(stepsBack > 0 ? "paused: " + stepsText(stepsBack) + " back" : "paused");
    if (recording)
        add("recording the dummy: " + stepsText(dummyRecording.size()));
    if (playing)
        add("dummy playing");
    if (noticeLeft > 0)
        add(noticeText);
    return line;
}
