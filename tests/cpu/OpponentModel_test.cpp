// The computer's model of the other player: a loop of inputs is foreseen once it came round a
// few times, as far as its order tells the loop's runs apart.
#include <gtest/gtest.h>

#include "cpu/InputLoop.h"
#include "cpu/OpponentModel.h"

namespace {

// How many of the loop's next `count` inputs a model of this order foresees after it saw the
// loop come round `rounds` times.
int foreseen(const char* text, int order, int rounds, int count, double& sureness) {
    const InputLoop loop = *InputLoop::parse(text);
    OpponentModel model(order);
    const std::size_t n = loop.steps.size();
    for (std::size_t i = 0; i < rounds * n; ++i)
        model.learn(OpponentModel::symbolOf(loop.steps[i % n]));
    const std::vector<OpponentModel::Symbol> ahead = model.foresee(count, sureness);
    int right = 0;
    for (int i = 0; i < count; ++i)
        right += ahead[static_cast<std::size_t>(i)] ==
                 OpponentModel::symbolOf(loop.steps[static_cast<std::size_t>(i) % n]);
    return right;
}

} // namespace

TEST(OpponentModelTest, ALoopIsForeseenAsFarAsItsOrderTellsItsRunsApart) {
    // A short loop, and one whose runs of neutral and of forward each come twice, told apart
    // only by what came before them.
    const char* const shortLoop = "2 2 1 1 4* 5 5 5* 5";
    const char* const longLoop = "6 6 6 6 6 6 6 6+ 5 5 5 5 5 2 1 4* 6 6 6 6 6 5+ 5 5 5 5 5";
    double sureness = 0;
    EXPECT_EQ(foreseen(shortLoop, 6, 3, 27, sureness), 27);
    EXPECT_DOUBLE_EQ(sureness, 1.0);
    // Seen once, only runs within it came twice: the loop is not foreseen, nor surely.
    EXPECT_LT(foreseen(shortLoop, 24, 1, 9, sureness), 9);
    EXPECT_LT(sureness, 1.0);

    EXPECT_EQ(foreseen(longLoop, 24, 3, 54, sureness), 54);
    EXPECT_LT(foreseen(longLoop, 3, 3, 54, sureness), 54);
}

TEST(OpponentModelTest, AnInputComesBackAsItWent) {
    for (int symbol = 0; symbol < OpponentModel::symbolCount; ++symbol)
        EXPECT_EQ(OpponentModel::symbolOf(OpponentModel::frameOf(
                      static_cast<OpponentModel::Symbol>(symbol))),
                  symbol);
}
