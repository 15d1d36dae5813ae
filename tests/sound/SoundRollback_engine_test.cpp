#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/LocalPlay.h"
#include "match/Match.h"
#include "match/SyncTest.h"
#include "net/NetInput.h"
#include "net/RollbackSession.h"
#include "replay/ReplayRecorder.h"
#include "sound/SampleBank.h"
#include "sound/SoundPresenter.h"
#include "support/EngineEnvironment.h"
#include "support/RandomInputs.h"
#include "support/SteppedMatch.h"
#include "support/versusRules.h"

namespace {

constexpr int matchSteps = 3000;

struct Cue {
    int step;
    std::string decision, sound, side;
};

// A muted presenter that writes the cue log, read back once it is gone.
class CueLog {
public:
    explicit CueLog(const std::string& name) : path(name + ".cues") {
        SoundSettings settings;
        settings.mute = true;
        settings.cueLogPath = path;
        presenter = std::make_unique<SoundPresenter>(
            settings, nullptr, [](const std::string&) {}, nullptr);
    }

    std::vector<std::string> lines() {
        presenter.reset();
        std::ifstream in(path);
        std::vector<std::string> read;
        for (std::string line; std::getline(in, line);)
            read.push_back(line);
        return read;
    }

    // The plays that were not stopped again: what was heard in full.
    std::vector<Cue> heard() {
        std::vector<Cue> cues;
        for (const std::string& line : lines()) {
            Cue cue;
            std::istringstream(line) >> cue.step >> cue.decision >> cue.sound >> cue.side;
            if (cue.decision == "play") {
                cues.push_back(cue);
                continue;
            }
            for (auto played = cues.rbegin(); played != cues.rend(); ++played)
                if (played->sound == cue.sound && played->side == cue.side) {
                    cues.erase(std::next(played).base());
                    break;
                }
        }
        return cues;
    }

    std::string path;
    std::unique_ptr<SoundPresenter> presenter;
};

class SoundRollbackTest : public testing::Test {
protected:
    SoundRollbackTest() : stepped(EngineEnvironment::app()), match(*stepped.match) {
        match.start(versusRules(1, 600));
        start = match.save();
    }

    // The plain run of these inputs, heard from the start.
    CueLog plainRun(const std::vector<StepInput>& inputs) {
        match.restore(start);
        CueLog log("plain");
        LocalPlay play(match);
        play.presentTo(*log.presenter);
        for (const StepInput& input : inputs)
            play.step(input);
        return log;
    }

    SteppedMatch stepped;
    Match& match;
    MatchState start;
};

} // namespace

// Every step goes back 8 and runs them again: the log is the plain run's, line for line.
TEST_F(SoundRollbackTest, TheSyncTestSoundsLikeThePlainRun) {
    RandomInputs random(99);
    std::vector<StepInput> inputs;
    CueLog synced("synced");
    {
        SyncTest syncTest(match, MatchTimeline::maxRollback);
        syncTest.presentTo(*synced.presenter);
        for (int step = 0; step < matchSteps; ++step) {
            inputs.push_back(random.next(match.save()));
            syncTest.step(inputs.back());
        }
    }
    const std::vector<std::string> plain = plainRun(inputs).lines();
    EXPECT_GE(plain.size(), 40u);
    EXPECT_EQ(synced.lines(), plain);
}

// Online, the other side's input comes 5 steps late in bursts, so its presses are guessed wrong
// and rolled back all the time: what is heard in full is the plain run's sound, each cue within
// two steps of where the plain run has it.
TEST_F(SoundRollbackTest, ARollbackHeavyMatchSoundsLikeThePlainRun) {
    RollbackSession sessions[2] = {{match, 0, 1, 7}, {match, 1, 1, 7}};
    MatchState states[2] = {start, start};
    RandomInputs random[2] = {RandomInputs(5), RandomInputs(6)};
    std::vector<StepInput> confirmed;
    sessions[0].onConfirmed = [&confirmed](int, const StepInput& input, const MatchState&) {
        confirmed.push_back(input);
    };
    CueLog online("online");
    sessions[0].presentTo(online.presenter.get());
    for (int tick = 0; tick < matchSteps; ++tick) {
        for (int x = 0; x < 2; ++x) {
            match.restore(states[x]);
            const StepInput input = random[x].next(states[x]);
            sessions[x].step(NetInput::encode(input.players[x], {}));
            states[x] = match.save();
        }
        sessions[1].receive(sessions[0].inputsToSend());
        if (tick % 5 == 0)
            sessions[0].receive(sessions[1].inputsToSend());
    }
    EXPECT_GE(sessions[0].stats().rollbacks, 100);
    std::vector<Cue> heard = online.heard();
    const int last = static_cast<int>(confirmed.size()) - 3;
    std::vector<Cue> plain = plainRun(confirmed).heard();
    ASSERT_GE(plain.size(), 40u);
    for (const Cue& cue : plain) {
        if (cue.step > last - 2)
            break;
        const auto same = std::find_if(heard.begin(), heard.end(), [&cue](const Cue& other) {
            return other.sound == cue.sound && other.side == cue.side &&
                   std::abs(other.step - cue.step) <= 2;
        });
        ASSERT_NE(same, heard.end()) << cue.sound << " " << cue.side << " at " << cue.step;
        heard.erase(same);
    }
    heard.erase(std::remove_if(heard.begin(), heard.end(),
                               [last](const Cue& cue) { return cue.step > last; }),
                heard.end());
    EXPECT_TRUE(heard.empty()) << heard.size() << " more heard online, the first "
                               << heard.front().sound << " at " << heard.front().step;
}
