#include <string>
#include <vector>

#include <Ogre.h>
#include <Overlay/OgreOverlayElement.h>
#include <Overlay/OgreOverlayManager.h>

#include "app/LocalPlay.h"
#include "collision/HitboxInfo.h"
#include "match/FairRules.h"
#include "match/Rounds.h"
#include "match/Stage.h"
#include "match/SyncTest.h"
#include "match/checksum.h"
#include "render/roundCaptions.h"
#include "replay/ReplayPlayback.h"
#include "replay/ReplayReader.h"
#include "replay/ReplayRecorder.h"
#include "support/EngineEnvironment.h"
#include "support/MatchFixture.h"
#include "support/RandomInputs.h"
#include "support/testFighters.h"
#include "support/versusRules.h"

namespace {

std::string caption(const char* element) {
    return Ogre::OverlayManager::getSingleton().getOverlayElement(element)->getCaption();
}

// The fighter's body box as the hit test places it.
AABB bodyOf(const Player& player) {
    AABB box = player.animation.currentHitboxes()->bodyBoxes.front();
    if (player.state.facingLeft)
        box.mirror();
    box.translate(player.state.position.x, player.state.position.y);
    return box;
}

class VersusTest : public MatchFixture {
protected:
    // The first round's announcement over: the fighters are free at their start places.
    VersusTest() {
        theMatch().start(versusRules());
        for (int i = 0; i < Rounds::announceSteps; ++i)
            theMatch().step(StepInput());
        match.show();
    }

    Match& theMatch() { return *match.match; }

    // Steps with the keys held, checking after every one that both bodies are inside the walls
    // and apart.
    void stepKeptApart(int steps) {
        for (int i = 0; i < steps; ++i) {
            step();
            const AABB body1 = bodyOf(p1()), body2 = bodyOf(p2());
            ASSERT_FALSE(overlaps(body1, body2)) << "step " << i;
            for (const AABB& body : {body1, body2}) {
                ASSERT_GE(body.left, -Stage::halfWidth) << "step " << i;
                ASSERT_LE(body.right, Stage::halfWidth) << "step " << i;
            }
        }
    }

    void placeFighters(float x1, float x2) {
        MatchState state = theMatch().save();
        state.fighters[0].state.position.x = x1;
        state.fighters[1].state.position.x = x2;
        theMatch().restore(state);
        match.show();
    }
};

} // namespace

// The camera sees the whole of a body between the walls, and not much more: the walls stand
// where its view ends, at the top of a body box (the narrowest part of the view it covers).
TEST_F(VersusTest, TheWallsStandWhereTheCamerasViewEnds) {
    Ogre::Camera* camera = EngineEnvironment::app().getSceneManager()->getCamera("Main Camera");
    const Ogre::Matrix4 toScreen = camera->getProjectionMatrix() * camera->getViewMatrix();
    const auto screenX = [&](float x, float y) { return (toScreen * Ogre::Vector3(x, y, 0)).x; };
    for (float y : {0.0f, 100.0f}) {
        EXPECT_LE(screenX(Stage::halfWidth, y), 1.0f) << y;
        EXPECT_GE(screenX(-Stage::halfWidth, y), -1.0f) << y;
    }
    EXPECT_GT(screenX(Stage::halfWidth + 1, 100), 1.0f);
}

// The first fighter walks back to the wall while the second walks after it: the one at the
// wall does not move, the walker stops at it.
TEST_F(VersusTest, AFighterWalkingBackStopsAtTheWall) {
    keyboard.press(OIS::KC_A);
    keyboard.press(OIS::KC_LEFT);
    stepKeptApart(150);
    EXPECT_FLOAT_EQ(bodyOf(p1()).left, -Stage::halfWidth);
    EXPECT_FLOAT_EQ(bodyOf(p2()).left, bodyOf(p1()).right);
}

// Walking into the other fighter pushes it at half the pace, until the wall holds it: then the
// walker stops.
TEST_F(VersusTest, AWalkerPushesTheOtherUntilTheWallHoldsIt) {
    keyboard.press(OIS::KC_D);
    stepKeptApart(60);
    const float contact = p2().state.position.x;
    EXPECT_FLOAT_EQ(bodyOf(p1()).right, bodyOf(p2()).left);
    stepKeptApart(40);
    EXPECT_NEAR(p2().state.position.x - contact, 20, 0.01f);
    stepKeptApart(300);
    EXPECT_FLOAT_EQ(bodyOf(p2()).right, Stage::halfWidth);
    EXPECT_FLOAT_EQ(bodyOf(p1()).right, bodyOf(p2()).left);
}

// The spinning kick carries its fighter up to the other, pinned at the wall, and never through.
TEST_F(VersusTest, TheSpinningKickStopsAtTheOtherFighter) {
    placeFighters(Stage::halfWidth - 35 - 75, Stage::halfWidth - 35);
    step();
    keyboard.press(OIS::KC_S);
    stepKeptApart(1);
    keyboard.press(OIS::KC_A);
    stepKeptApart(1);
    keyboard.release(OIS::KC_S);
    keyboard.press(OIS::KC_K);
    stepKeptApart(1);
    keyboard.releaseAll();
    EXPECT_EQ(p1().state.action, PlayerState::Tatsu);
    stepKeptApart(95);
    EXPECT_LT(p1().state.position.x, p2().state.position.x);
    EXPECT_FLOAT_EQ(bodyOf(p2()).right, Stage::halfWidth);
}

// A KO is shown, then the next round starts as the match did, but for the round's number and
// the wins; steps that draw no picture show none of it until the next picture.
TEST_F(VersusTest, AfterAKnockOutTheNextRoundStartsAsTheMatchDid) {
    const MatchState start = theMatch().save();
    EXPECT_EQ(caption("RoundTimerText"), "99");
    placeFighters(-20, 50);
    p2().state.health = 50;
    step();
    tap(OIS::KC_J);
    step(16);
    EXPECT_EQ(p2().state.health, 0);
    EXPECT_EQ(theMatch().roundState().ending, RoundState::KnockOut);
    EXPECT_EQ(caption("RoundBannerText"), "K.O.");
    EXPECT_EQ(caption("RoundDetailText"), "PLAYER 1 WINS THE ROUND");
    EXPECT_EQ(caption("RoundWinsText1"), "WINS 1");

    for (int unseen = 0; unseen < Rounds::endShownSteps; ++unseen)
        theMatch().step(StepInput{});
    EXPECT_EQ(caption("RoundBannerText"), "K.O.");
    match.show();
    EXPECT_EQ(caption("RoundBannerText"), "ROUND 2");
    for (int unseen = 0; unseen < Rounds::announceSteps; ++unseen)
        theMatch().step(StepInput{});
    match.show();
    EXPECT_EQ(caption("RoundBannerText"), "");

    MatchState next = theMatch().save();
    EXPECT_EQ(next.round.round, 2);
    EXPECT_EQ(next.round.wins[0], 1);
    next.round = start.round;
    EXPECT_EQ(differences(start, next), "");
}

// Seeded random play over many short rounds and several matches, going back 8 steps after every
// step: the rounds' rules read nothing from outside the match.
TEST_F(VersusTest, TheSyncTestAgreesOverRoundsAndMatches) {
    theMatch().start(versusRules(1, 300));
    SyncTest syncTest(theMatch(), MatchTimeline::maxRollback);
    RandomInputs inputs(9);
    for (int i = 0; i < 6000; ++i)
        ASSERT_NO_THROW(syncTest.step(inputs.next(theMatch().save()))) << "step " << i;
    EXPECT_GE(theMatch().roundState().matchesPlayed, 3);
}

// A recorded versus match, played back from its file, reaches the same results.
TEST_F(VersusTest, ARecordedVersusMatchReplaysToTheSameResults) {
    const std::string path = testing::TempDir() + "versus.vrp";
    const MatchRules rules = versusRules(1, 240);
    std::vector<std::string> recorded, replayed;
    theMatch().start(rules);
    const MatchState start = theMatch().save();
    theMatch().onMatchEnd = [&](const RoundState& round) { recorded.push_back(resultLine(round)); };
    {
        LocalPlay play(theMatch(),
                       std::make_unique<ReplayRecorder>(path, defaultLineup(),
                                                        ReplayMode{ReplayMode::Versus}, rules));
        RandomInputs inputs(4);
        for (int i = 0; i < 3000; ++i)
            play.step(inputs.next(theMatch().save()));
    }
    const MatchState end = theMatch().save();

    // As the program starts a replay: a fresh match under the file's rules.
    Replay replay = readReplay(path);
    ASSERT_TRUE(replay.rules == rules);
    theMatch().restore(start);
    match.show();
    theMatch().onMatchEnd = [&](const RoundState& round) { replayed.push_back(resultLine(round)); };
    ReplayPlayback playback(theMatch(), std::move(replay));
    while (playback.step(StepInput{})) {
    }
    EXPECT_GE(recorded.size(), 2u);
    EXPECT_EQ(replayed, recorded);
    EXPECT_EQ(checksum(theMatch().save()), checksum(end));
}

// A spinning kick on a fighter that does not block is a combo of 3 hits: the HUD shows it on the
// kicker's side from the second hit, and for a second after the other is free again.
TEST_F(VersusTest, TheHudShowsACombosHitsAndDamageUntilASecondAfterItEnds) {
    placeFighters(-40, 40);
    step();
    keyboard.press(OIS::KC_S);
    step();
    keyboard.press(OIS::KC_A);
    step();
    keyboard.release(OIS::KC_S);
    keyboard.press(OIS::KC_K);
    step();
    keyboard.releaseAll();
    std::vector<std::string> shown;
    int freeAgain = -1;
    for (int i = 0; i < 200; ++i) {
        step();
        const std::string combo = caption("ComboText1");
        if (shown.empty() || shown.back() != combo)
            shown.push_back(combo);
        if (freeAgain < 0 && p2().state.action != PlayerState::Hit && !shown.back().empty())
            freeAgain = i;
        if (freeAgain >= 0 && combo.empty()) {
            EXPECT_EQ(i - freeAgain, FairRules::comboKeptSteps);
            break;
        }
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"", "2 HITS 40", "3 HITS 60", ""}));
    EXPECT_EQ(caption("ComboText2"), "");
}

// A knock-out by a blow that took more than was left reads 0 on the HUD, not a debt.
TEST_F(VersusTest, AKnockOutBeyondTheLastHealthReadsZero) {
    placeFighters(-20, 50);
    p2().state.health = 30;
    step();
    tap(OIS::KC_J);
    step(16);
    ASSERT_LT(p2().state.health, 0);
    EXPECT_EQ(caption("HealthText2"), "0");
}
