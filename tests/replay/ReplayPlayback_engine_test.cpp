#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include <unistd.h>

#include "anim/CharacterData.h"
#include "collision/HitProps.h"
#include "match/StepPresenter.h"
#include "match/checksum.h"
#include "render/SpriteManager.h"
#include "replay/ReplayError.h"
#include "replay/ReplayPlayback.h"
#include "replay/ReplayReader.h"
#include "replay/ReplayRecorder.h"
#include "replay/characterDataHash.h"
#include "support/EngineEnvironment.h"
#include "support/SteppedMatch.h"

namespace fs = std::filesystem;

namespace {

// Both fighters pushing forward, punching and kicking now and then: a match with hits.
StepInput randomStep(std::mt19937& random) {
    StepInput input;
    const Direction::eDirection forward[2] = {Direction::Right, Direction::Left};
    for (int player = 0; player < 2; ++player) {
        InputFrame& frame = input.players[player];
        frame.direction =
            random() % 3 == 0 ? static_cast<Direction::eDirection>(random() % 9) : forward[player];
        frame.pressed[0] = random() % 12 == 0;
        frame.pressed[1] = random() % 24 == 0;
    }
    input.keys.showHitboxes = random() % 100 == 0;
    return input;
}

std::uint64_t hashOf(const SteppedMatch& match) {
    return characterDataHash(*match.game->characters[0]);
}

class ReplayPlaybackTest : public ::testing::Test {
protected:
    ReplayPlaybackTest()
        : path(fs::temp_directory_path() / ("vorrak-playback-" + std::to_string(getpid()))) {}
    ~ReplayPlaybackTest() override { fs::remove(path); }

    // Plays and records a match as local play does, or from its step `from` on as a spectator
    // who joined then does; returns its final checksum.
    std::uint64_t recordMatch(int steps, int from = 0) {
        SteppedMatch match(EngineEnvironment::app());
        std::mt19937 random(5);
        for (int n = 0; n < from; ++n)
            match.step(randomStep(random));
        const MatchState joined = match.match->save();
        ReplayRecorder recorder(path.string(), match.lineup(), {}, joined.rules,
                                from > 0 ? &joined : nullptr, from);
        for (int n = 1; n <= steps; ++n) {
            StepInput input = randomStep(random);
            input.keys.quit = n == steps;
            match.step(input);
            recorder.record(input, match.match->save());
        }
        healthLost = 2000 - match.p1().state.health - match.p2().state.health;
        return checksum(match.match->save());
    }

    fs::path path;
    int healthLost = 0;
};

} // namespace

// The viewer shows the panels and boxes and hides them again; the replay, which presses F3 now
// and then, is checked to its end as recorded.
TEST_F(ReplayPlaybackTest, TheViewersDisplayKeysLeaveTheCheckAlone) {
    const std::uint64_t recorded = recordMatch(600);
    SteppedMatch match(EngineEnvironment::app());
    ReplayPlayback playback(*match.match, readReplay(path.string()));
    StepInput keyboard;
    int rowsShown = 0;
    for (int step = 1; playback.step(keyboard); ++step) {
        keyboard.keys.showInputPanels = keyboard.keys.showHitboxes = step == 10;
        keyboard.keys.hideDebugDisplays = step == 400;
        if (step == 300)
            rowsShown = match.match->save().panels[0].rowCount;
    }
    EXPECT_GT(rowsShown, 0);
    // Ended, the match is the recording's, for the log's last checksum.
    playback.finish();
    EXPECT_EQ(checksum(match.match->save()), recorded);
}

TEST_F(ReplayPlaybackTest, PlaysTheRecordedMatchBackToTheSameState) {
    const std::uint64_t recorded = recordMatch(600);

    SteppedMatch match(EngineEnvironment::app());
    ReplayPlayback playback(*match.match, readReplay(path.string()));
    int steps = 1;
    while (playback.step(StepInput{}))
        ++steps;
    ASSERT_GT(healthLost, 0) << "no hit landed in the recorded match";
    EXPECT_EQ(steps, 600);
    EXPECT_EQ(checksum(match.match->save()), recorded);
}

namespace {

class StepNumbers : public StepPresenter {
public:
    void stepRan(int step, const MatchState&, const MatchState&) override { heard.push_back(step); }
    void silence() override {}

    std::vector<int> heard;
};

} // namespace

// A spectator's recording from the middle of a match plays from there to the same end, its
// steps told to the sound under the match's numbers, as the spectator's own were.
TEST_F(ReplayPlaybackTest, ARecordingFromTheMiddleOfAMatchPlaysOnFromThere) {
    const std::uint64_t recorded = recordMatch(200, 150);
    SteppedMatch match(EngineEnvironment::app());
    ReplayPlayback playback(*match.match, readReplay(path.string()));
    StepNumbers numbers;
    playback.presentTo(numbers);
    while (playback.step(StepInput{})) {
    }
    EXPECT_EQ(checksum(match.match->save()), recorded);
    ASSERT_EQ(numbers.heard.size(), 200u);
    EXPECT_EQ(numbers.heard.front(), 150);
    EXPECT_EQ(numbers.heard.back(), 349);
}

TEST_F(ReplayPlaybackTest, AMatchThatGoesAnotherWayIsReportedAtTheNextCheckpoint) {
    recordMatch(200);

    SteppedMatch match(EngineEnvironment::app());
    match.p2().state.health -= 1;
    ReplayPlayback playback(*match.match, readReplay(path.string()));
    for (int step = 1; step < 60; ++step)
        ASSERT_TRUE(playback.step(StepInput{}));
    try {
        playback.step(StepInput{});
        FAIL() << "no mismatch reported";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("out of sync at step 60:"), std::string::npos)
            << e.what();
    }
}

TEST_F(ReplayPlaybackTest, EscapeOnTheKeyboardEndsThePlayback) {
    recordMatch(100);

    SteppedMatch match(EngineEnvironment::app());
    ReplayPlayback playback(*match.match, readReplay(path.string()));
    StepInput escape;
    escape.keys.quit = true;
    EXPECT_FALSE(playback.step(escape));
    EXPECT_EQ(playback.stepsPlayed(), 0u);
}

// Recordings made by the game before later changes to the rules and the files: every one must
// still play to its recorded end, with the fighters and stage it names, every checkpoint and the
// last checksum agreeing. Among them Brann against Sora on the courtyard, knocked out by the
// computer playing Brann.
TEST(EarlierRecordingsTest, PlayAsTheyWereRecorded) {
    int played = 0;
    int ofBrann = 0;
    for (const fs::directory_entry& file : fs::directory_iterator(VORRAK_TEST_DATA "/replays")) {
        SCOPED_TRACE(file.path().filename().string());
        Replay replay = readReplay(file.path().string());
        SteppedMatch match(EngineEnvironment::app(), replay.lineup);
        requireLineup(replay, match.lineup());
        requireCharacterData(replay, hashOf(match));
        match.match->start(replay.rules);
        const std::size_t steps = replay.steps.size();
        ReplayPlayback playback(*match.match, std::move(replay));
        while (playback.step(StepInput{}))
            continue;
        EXPECT_EQ(playback.stepsPlayed(), steps);
        ++played;
        if (match.game->characters[0]->name != "brann")
            continue;
        ++ofBrann;
        EXPECT_EQ(match.lineup().stage.name, "courtyard");
        EXPECT_LE(match.p2().state.health, 0) << "not ended by a KO";
    }
    EXPECT_GE(played, 3);
    EXPECT_EQ(ofBrann, 1);
}
