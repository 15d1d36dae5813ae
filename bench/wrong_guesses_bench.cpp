#include <algorithm>
#include <deque>
#include <memory>
#include <vector>

#include <benchmark/benchmark.h>

#include "app/programDirectory.h"
#include "cpu/CpuLevel.h"
#include "cpu/CpuPlayer.h"
#include "match/Game.h"
#include "match/Match.h"
#include "match/StepPresenter.h"
#include "net/NetInput.h"
#include "net/RollbackSession.h"
#include "sound/CuePlayer.h"
#include "sound/SampleBank.h"
#include "sound/cueDetection.h"

namespace {

// 150 ms each way, in steps of 1/60 s.
constexpr int latencySteps = 9;
constexpr int framesPerStep = SampleBank::rate / 60;

// The sounds one side plays and withdraws, noting the tick of each decision.
class HeardCues : public StepPresenter {
public:
    struct Decision {
        int tick;
        bool play;
        SoundCue cue;
    };

    HeardCues() {
        player.log = [this](int, const char* decision, const SoundCue& cue) {
            decisions.push_back({tick, decision[0] == 'p', cue});
        };
    }
    void stepRan(int step, const MatchState& before, const MatchState& after) override {
        player.step(step, detectCues(before, after));
    }
    void silence() override { player.silence(); }

    int tick = 0;
    std::vector<Decision> decisions;

private:
    CuePlayer player{nullptr};
};

// One online versus match of two computer players (levels 8 and 6) whose messages take 150 ms
// each way, heard on the host's side: every sound played, those played from a guessed step and
// withdrawn by a rollback, and of these the ones heard in full (as long as the sound lasts)
// before the withdrawal came, and the longest any was heard. Per --delay; the same figures on
// every machine.
void BM_WrongGuessesHeard(benchmark::State& state) {
    const int delay = static_cast<int>(state.range(0));
    const SampleBank bank(programDirectory() + "/media/sounds");
    int sounds = 0, withdrawn = 0, heardInFull = 0, longestHeard = 0, steps = 0;
    for (auto _ : state) {
        const std::unique_ptr<Game> game = Game::headless();
        Match match(*game);
        MatchRules rules;
        rules.versus = true;
        match.start(rules);
        RollbackSession sessions[2] = {{match, 0, delay, 7}, {match, 1, delay, 7}};
        CpuPlayer players[2] = {{match, 0, CpuLevel::of(8), 1}, {match, 1, CpuLevel::of(6), 2}};
        MatchState states[2] = {match.save(), match.save()};
        bool decided = false;
        sessions[0].onConfirmed = [&decided](int, const StepInput&, const MatchState& after) {
            decided = decided || after.round.phase == RoundState::MatchOver;
        };
        HeardCues heard;
        sessions[0].presentTo(&heard);
        // What each side sent, and the tick it arrives at the other.
        std::deque<std::pair<int, net::Inputs>> inFlight[2];
        for (int tick = 0; !decided; ++tick) {
            heard.tick = tick;
            for (int x = 0; x < 2; ++x) {
                while (!inFlight[1 - x].empty() && inFlight[1 - x].front().first <= tick) {
                    sessions[x].receive(inFlight[1 - x].front().second);
                    inFlight[1 - x].pop_front();
                }
                match.restore(states[x]);
                const InputFrame frame = players[x].next(states[x]);
                match.restore(states[x]);
                sessions[x].step(NetInput::encode(frame, {}));
                states[x] = match.save();
                inFlight[x].emplace_back(tick + latencySteps, sessions[x].inputsToSend());
            }
        }
        steps = sessions[0].now();
        std::vector<HeardCues::Decision> playing;
        for (const HeardCues::Decision& decision : heard.decisions) {
            if (decision.play) {
                ++sounds;
                playing.push_back(decision);
                continue;
            }
            for (auto played = playing.rbegin(); played != playing.rend(); ++played) {
                if (played->cue != decision.cue)
                    continue;
                ++withdrawn;
                const int heardSteps = decision.tick - played->tick;
                longestHeard = std::max(longestHeard, heardSteps);
                heardInFull += static_cast<std::size_t>(heardSteps * framesPerStep) >=
                               bank.samples(decision.cue.sound).size();
                playing.erase(std::next(played).base());
                break;
            }
        }
    }
    state.counters["sounds"] = sounds;
    state.counters["withdrawn"] = withdrawn;
    state.counters["heard in full"] = heardInFull;
    state.counters["longest heard ms"] = longestHeard * 1000 / 60;
    state.counters["steps"] = steps;
}
BENCHMARK(BM_WrongGuessesHeard)->DenseRange(1, 4)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
