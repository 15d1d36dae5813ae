#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "sound/CueOutput.h"
#include "sound/CuePlayer.h"

namespace {

// What reached the output, in order: "play <sound>", "stop <sound>", "stop all".
class Heard : public CueOutput {
public:
    void play(const SoundCue& cue, std::uint32_t voice) override {
        playing.resize(std::max<std::size_t>(playing.size(), voice + 1));
        playing[voice] = cue;
        events.push_back(std::string("play ") + SoundCue::name(cue.sound));
    }
    void stop(std::uint32_t voice) override {
        events.push_back(std::string("stop ") + SoundCue::name(playing.at(voice).sound));
    }
    void stopAll() override { events.push_back("stop all"); }

    std::vector<std::string> events;
    std::vector<SoundCue> playing;
};

StepCues cuesOf(std::initializer_list<SoundCue::Sound> sounds) {
    StepCues cues;
    for (SoundCue::Sound sound : sounds)
        cues.add(sound, 0);
    return cues;
}

// Runs the steps from..to with the hit at hitStep (none: -1).
void run(CuePlayer& player, int from, int to, int hitStep) {
    for (int step = from; step <= to; ++step)
        player.step(step, step == hitStep ? cuesOf({SoundCue::Hit}) : StepCues{});
}

} // namespace

// A hit first played at step 10; then steps 6 to 20 run again, as a rollback does, with the hit
// where the corrected inputs put it.
TEST(CuePlayerTest, ARerunPlaysOnlyWhatIsNewAndStopsWhatDidNotComeAgain) {
    struct Case {
        int hitAgainAt;
        std::vector<std::string> expected;
    } const cases[] = {
        {10, {"play hit"}},
        {12, {"play hit"}},
        {8, {"play hit"}},
        {13, {"play hit", "play hit", "stop hit"}},
        {-1, {"play hit", "stop hit"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hitAgainAt);
        Heard heard;
        CuePlayer player(&heard);
        run(player, 0, 12, 10);
        run(player, 6, 20, c.hitAgainAt);
        EXPECT_EQ(heard.events, c.expected);
    }
}

TEST(CuePlayerTest, WithoutRollbackTheSameCueOnNeighbouringStepsPlaysEachTime) {
    Heard heard;
    CuePlayer player(&heard);
    player.step(0, cuesOf({SoundCue::Hit}));
    player.step(1, cuesOf({SoundCue::Hit, SoundCue::Whoosh}));
    EXPECT_EQ(heard.events, (std::vector<std::string>{"play hit", "play hit", "play whoosh"}));
}

// Re-run after re-run, as the sync test does every step, is heard as one plain run.
TEST(CuePlayerTest, RerunningEveryStepSoundsLikeThePlainRun) {
    Heard plain, rerun;
    CuePlayer straight(&plain), again(&rerun);
    std::vector<std::string> logged;
    again.log = [&logged](int step, const char* decision, const SoundCue& cue) {
        logged.push_back(std::to_string(step) + decision + SoundCue::name(cue.sound));
    };
    const auto cuesAt = [](int step) {
        return step % 7 == 0 ? cuesOf({SoundCue::Whoosh, SoundCue::Block}) : StepCues{};
    };
    for (int step = 0; step < 60; ++step) {
        straight.step(step, cuesAt(step));
        again.step(step, cuesAt(step));
        for (int back = std::max(0, step - 7); back <= step; ++back)
            again.step(back, cuesAt(back));
    }
    EXPECT_EQ(rerun.events, plain.events);
    EXPECT_EQ(logged.size(), plain.events.size());
}

TEST(CuePlayerTest, SilenceStopsAllAndForgets) {
    Heard heard;
    CuePlayer player(&heard);
    player.step(5, cuesOf({SoundCue::KnockOut}));
    player.silence();
    player.step(5, cuesOf({SoundCue::KnockOut}));
    EXPECT_EQ(heard.events,
              (std::vector<std::string>{"play knockout", "stop all", "play knockout"}));
}
