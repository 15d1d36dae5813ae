#include <gtest/gtest.h>

#include "match/Match.h"
#include "net/RollbackSession.h"
#include "support/EngineEnvironment.h"
#include "support/SteppedMatch.h"

// The other side's Inputs messages, one a step, come late, twice, while it waits, or never:
// only those never heard count as lost, and a late one takes its loss back.
TEST(RollbackSessionTest, CountsTheOtherSidesInputMessagesLost) {
    SteppedMatch stepped(EngineEnvironment::app());
    RollbackSession session(*stepped.match, 0, 1, 7);
    for (int step : {3, 4, 6, 5, 5, 8, 8, 8, 9, 12, 13, -4, 100000}) {
        net::Inputs inputs;
        inputs.session = 7;
        inputs.step = step;
        session.receive(inputs);
    }
    // Heard: 3, 4, 5, 6, 8, 9, 12, 13; never: 7, 10 and 11.
    EXPECT_EQ(session.stats().inputsHeard, 8);
    EXPECT_EQ(session.stats().inputsLost, 3);
}
