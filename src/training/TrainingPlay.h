#pragma once

#include <memory>
#include <string>

#include "match/MatchDriver.h"
#include "match/MatchState.h"
#include "replay/Replay.h"
#include "replay/ReplayView.h"
#include "training/DummyRecording.h"
#include "training/FrameMeter.h"
#include "training/RewindHistory.h"

class ComputerPlayer;
class Game;
class Match;
class MatchView;
class TrainingDisplay;

// The lab (--training): the local match, or a replay, under the training keys. The frame
// updater calls step once per tick of its 1/60 s clock with the keyboard read on that tick;
// the driver decides what the tick does with the match: play one step, nothing (paused), one
// step on F6, or one step back on F7. F4 shows the frame meter, F5 pauses, F8 resets, F9
// records the second player's keys for the dummy and F10 plays them back, F11 takes a replay
// over; over a replay, F1 to F3 are the viewer's and stay out of the checked match. The rewind
// history, the dummy's recording and the meter are the driver's own, not the match's: it saves
// and loads the match as it is. Owned by the Application; the match, the game and the screen are
// not owned.
class TrainingPlay : public MatchDriver {
public:
    // F6 and F7 held while paused repeat once held this long, so a tap is one step.
    static constexpr int repeatDelayTicks = 15;
    // Then F6 steps every this many ticks (10 steps a second), F7 every tick.
    static constexpr int stepRepeatTicks = 6;
    // How long the status line tells why a key did nothing.
    static constexpr int noticeTicks = 120;

    // With a replay, its steps drive the match until F11, from where it starts (throws
    // ReplayError when that does not fit the character data); its character data must be
    // checked.
    TrainingPlay(Match& match, Game& game, MatchView& screen,
                 std::unique_ptr<Replay> replay = nullptr);
    ~TrainingPlay() override;

    bool step(const StepInput& keyboard) override;
    // Paused, a tick changes the screen only when a key acts or the status line changes.
    bool pictureChanged() const override { return changed; }

    // The computer plays the second fighter on every step that runs, except while the dummy
    // is recorded or plays. Not owned.
    void letComputerPlay(ComputerPlayer* player) { computer = player; }
    // Over a replay, the match is left as recorded, whatever the viewer showed.
    void finish() override;

    bool paused() const { return pausedNow; }
    // Steps between the start (or the last reset) and the match as it stands.
    int stepsPlayed() const { return steps; }
    const FrameMeter& meter() const { return frameMeter; }
    bool meterShown() const { return meterOn; }
    const DummyRecording& dummy() const { return dummyRecording; }
    bool dummyPlaying() const { return playing; }
    const RewindHistory& history() const { return rewind; }
    std::string status() const;

private:
    void handleKeys(const ProgramKeys& pressed);
    void silence();
    void goBack(bool justPressed);
    void holdStill(const StepInput& keyboard, bool stepPressed);
    StepInput withPendingPresses(StepInput input);
    void dropPendingPresses();
    void play(StepInput input);
    void computerInput(InputFrame& second);
    void show(const MatchState& state, int step);
    void dummyInput(InputFrame& second);
    void checkReplay() const;
    void reset();
    void toggleRecording();
    void togglePlayback();
    void takeOver();
    void notice(std::string text);
    bool replayDriving() const { return replay && !tookOver; }
    // The match's number of the lab's first step: a replay from the middle of a match keeps the
    // match's numbers.
    int firstStep() const { return replay ? replay->firstStep : 0; }
    bool fromMiddle() const { return replay && replay->start; }
    FrameMeter::Sample sampleBefore(int fighter) const;

    Match& match;
    Game& game;
    MatchView& screen;
    std::unique_ptr<Replay> replay;
    ReplayView view;
    const MatchState start;
    std::unique_ptr<TrainingDisplay> display;
    RewindHistory rewind;
    FrameMeter frameMeter;
    DummyRecording dummyRecording;

    int steps = 0;
    int stepsBack = 0;
    bool pausedNow = false;
    bool rewinding = false;
    bool meterOn = false;
    bool recording = false;
    bool playing = false;
    int dummyStep = 0;
    bool tookOver = false;
    // The keys down on the tick before, so a key acts once when it goes down.
    ProgramKeys heldBefore;
    int stepHeldTicks = 0;
    int backHeldTicks = 0;
    // Buttons pressed while paused, for the step F6 runs; F5 and F8 drop them.
    bool pendingPresses[2][2] = {};
    std::string noticeText;
    int noticeLeft = 0;
    // The status line on screen, and whether the last tick changed anything shown.
    std::string shownStatus;
    bool changed = true;
    ComputerPlayer* computer = nullptr;
};
