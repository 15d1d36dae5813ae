#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <optional>
#include <random>
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
#include "support/testFighters.h"

namespace {

constexpr int framesPerStep = SampleBank::rate / 60;

// The link of the relay the tests play through: 150 ms each way, 40 ms of jitter either way,
// one message in ten lost. The tick a message sent on `tick` arrives on, or none.
class Link {
public:
    explicit Link(unsigned seed) : random(seed) {}

    std::optional<int> arrival(int tick) {
        if (std::uniform_real_distribution<double>(0, 1)(random) < 0.1)
            return std::nullopt;
        const double ms = 150 + std::uniform_real_distribution<double>(-40, 40)(random);
        return tick + static_cast<int>(std::lround(ms * 60 / 1000));
    }

private:
    std::mt19937 random;
};

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

// What one side heard of a match: every sound played, those played from a guessed step and
// withdrawn by a rollback, of these the ones heard in full (as long as the sound lasts) before
// the withdrawal came, and the longest any withdrawn sound was heard, in steps.
struct Tally {
    int sounds = 0;
    int withdrawn = 0;
    int heardInFull = 0;
    int longestHeard = 0;

    void add(const std::vector<HeardCues::Decision>& decisions, const SampleBank& bank) {
        std::vector<HeardCues::Decision> playing;
        for (const HeardCues::Decision& decision : decisions) {
            if (decision.play) {
                ++sounds;
                playing.push_back(decision);
                continue;
            }
            const auto played = std::find_if(
                playing.rbegin(), playing.rend(),
                [&decision](const HeardCues::Decision& p) { return p.cue == decision.cue; });
            if (played == playing.rend())
                continue;
            ++withdrawn;
            const int heardSteps = decision.tick - played->tick;
            longestHeard = std::max(longestHeard, heardSteps);
            heardInFull += static_cast<std::size_t>(heardSteps * framesPerStep) >=
                           bank.samples(decision.cue.sound).size();
            playing.erase(std::next(played).base());
        }
    }
};

// One online versus match of two computer players (levels 8 and 6) through the link, heard on
// the host's side, as the sound presenter hears it.
std::vector<HeardCues::Decision> playMatch(int delay, unsigned seed) {
    const std::unique_ptr<Game> game = testGame();
    Match match(*game);
    MatchRules rules;
    rules.versus = true;
    match.start(rules);
    RollbackSession sessions[2] = {{match, 0, delay, 7}, {match, 1, delay, 7}};
    CpuPlayer players[2] = {{match, 0, CpuLevel::of(8), 2 * seed},
                            {match, 1, CpuLevel::of(6), 2 * seed + 1}};
    MatchState states[2] = {match.save(), match.save()};
    bool decided = false;
    sessions[0].onConfirmed = [&decided](int, const StepInput&, const MatchState& after) {
        decided = decided || after.round.phase == RoundState::MatchOver;
    };
    HeardCues heard;
    sessions[0].presentTo(&heard);
    Link link(seed);
    // What each side sent, by the tick it arrives at the other.
    std::multimap<int, net::Inputs> inFlight[2];
    for (int tick = 0; !decided; ++tick) {
        heard.tick = tick;
        for (int x = 0; x < 2; ++x) {
            auto& arriving = inFlight[1 - x];
            const auto due = arriving.upper_bound(tick);
            for (auto message = arriving.begin(); message != due; ++message)
                sessions[x].receive(message->second);
            arriving.erase(arriving.begin(), due);
            match.restore(states[x]);
            const InputFrame frame = players[x].next(states[x]);
            match.restore(states[x]);
            sessions[x].step(NetInput::encode(frame, {}));
            states[x] = match.save();
            if (const std::optional<int> at = link.arrival(tick))
                inFlight[x].emplace(*at, sessions[x].inputsToSend());
        }
    }
    return heard.decisions;
}

// Five such matches per --delay; the same figures in every run.
void BM_WrongGuessesHeard(benchmark::State& state) {
    const int delay = static_cast<int>(state.range(0));
    const SampleBank bank(programDirectory() + "/media/sounds");
    Tally tally;
    for (auto _ : state)
        for (unsigned match = 0; match < 5; ++match)
            tally.add(playMatch(delay, match), bank);
    state.counters["sounds"] = tally.sounds;
    state.counters["withdrawn"] = tally.withdrawn;
    state.counters["heard in full"] = tally.heardInFull;
    state.counters["longest heard ms"] = tally.longestHeard * 1000 / 60;
}
BENCHMARK(BM_WrongGuessesHeard)->DenseRange(1, 4)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
