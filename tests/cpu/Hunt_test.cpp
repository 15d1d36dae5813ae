// The hunt on a small budget: what it prints is what it found, a loop of 8 to 40 steps that a
// rote player plays back, and the same seed hunts the same way.
#include <gtest/gtest.h>

#include <sstream>

#include "cpu/Hunt.h"
#include "support/testFighters.h"

namespace {

Hunt::Settings smallHunt(std::uint64_t seed) {
    Hunt::Settings settings;
    settings.level = 2;
    settings.hunter = settings.hunted = defaultFighter();
    settings.seed = seed;
    settings.population = 6;
    settings.generations = 3;
    settings.scoringMatches = 1;
    settings.checkMatches = 2;
    settings.checkRounds = 1;
    return settings;
}

} // namespace

TEST(HuntTest, FindsALoopOfEightToFortyStepsAndSaysSo) {
    std::ostringstream out;
    const Hunt::Found found = Hunt(smallHunt(5)).run(out);
    EXPECT_GE(found.loop.steps.size(), 8u);
    EXPECT_LE(found.loop.steps.size(), 40u);
    EXPECT_EQ(found.matches, 2);
    EXPECT_LE(found.wins, 2);
    EXPECT_NE(out.str().find("hunt: best loop against level 2: " + found.loop.text() + " ("),
              std::string::npos)
        << out.str();
    // Its text is the loop.
    EXPECT_EQ(InputLoop::parse(found.loop.text())->text(), found.loop.text());

    std::ostringstream again;
    EXPECT_EQ(Hunt(smallHunt(5)).run(again).loop.text(), found.loop.text());
}
