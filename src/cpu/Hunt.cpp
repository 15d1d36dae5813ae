#include "cpu/Hunt.h"

#include <algorithm>
#include <iterator>
#include <ostream>

#include "anim/CharacterData.h"
#include "cpu/CpuLevel.h"
#include "cpu/CpuPlayer.h"
#include "cpu/RotePlayer.h"
#include "cpu/referenceLoops.h"
#include "fighter/Player.h"
#include "match/Game.h"
#include "match/Match.h"

namespace {

// Directions a loop holds, relative to the fighter's facing; back and down-back block.
constexpr Direction::eDirection held[] = {Direction::Neutral, Direction::Right, Direction::Left,
                                         Direction::Down,    Direction::DownLeft,
                                         Direction::DownRight};

InputFrame frameOf(Direction::eDirection direction, int button = -1) {
    InputFrame frame;
    frame.direction = direction;
    if (button >= 0)
        frame.pressed[button] = true;
    return frame;
}

// No match of the hunt lasts longer than this, whatever the rules: a loop that only blocks
// would otherwise take the whole time.
constexpr int stepLimit = 60 * 60 * 10;

} // namespace

struct HuntCandidate {
    InputLoop loop;
    long long score = 0;
};

Hunt::Hunt(Settings settings) : settings(std::move(settings)), random(this->settings.seed) {}

bool Hunt::play(const InputLoop& loop, int loopSide, int rounds, std::uint64_t seed,
                long long& margin) const {
    Game game(loopSide == 0 ? settings.hunter : settings.hunted,
              loopSide == 0 ? settings.hunted : settings.hunter);
    game.walls = settings.walls;
    Match match(game);
    bool decided = false;
    match.onMatchEnd = [&decided](const RoundState&) { decided = true; };
    MatchRules rules;
    rules.versus = true;
    rules.rounds = rounds;
    match.start(rules);
    RotePlayer rote(loopSide, loop);
    CpuPlayer cpu(match, 1 - loopSide, CpuLevel::of(settings.level), seed);
    ComputerPlayer* players[2] = {&rote, &cpu};
    if (loopSide == 1)
        std::swap(players[0], players[1]);
    for (int step = 0; !decided && step < stepLimit; ++step) {
        const MatchState now = match.save();
        StepInput input;
        input.players[0] = players[0]->next(now);
        input.players[1] = players[1]->next(now);
        match.step(input);
    }
    margin += game.fighter(loopSide).state.health - game.fighter(1 - loopSide).state.health;
    return decided && match.roundState().winner == loopSide;
}

int Hunt::wins(const InputLoop& loop, int matches, int rounds, std::uint64_t seed) const {
    CpuRandom seeds(seed);
    long long margin = 0;
    int won = 0;
    for (int m = 0; m < matches; ++m)
        won += play(loop, m % 2, rounds, seeds.next(), margin);
    return won;
}

long long Hunt::score(const InputLoop& loop, std::uint64_t seed) const {
    CpuRandom seeds(seed);
    long long margin = 0;
    int won = 0;
    for (int m = 0; m < settings.scoringMatches; ++m)
        won += play(loop, m % 2, 1, seeds.next(), margin);
    // A round won outweighs any health.
    return won * 100000LL + margin;
}

// A piece of what a person might repeat: a direction held a while, a punch, or the special
// move's motion with its button.
void Hunt::addBlock(std::vector<InputFrame>& steps) {
    const int kind = random.below(3);
    if (kind == 0) {
        const int length = 1 + random.below(8);
        steps.insert(steps.end(), static_cast<std::size_t>(length),
                     frameOf(held[random.below(static_cast<int>(std::size(held)))]));
    } else if (kind == 1) {
        steps.push_back(frameOf(held[random.below(static_cast<int>(std::size(held)))], 0));
    } else {
        const MoveInput& motion = *settings.hunter->moves.front().first;
        for (std::size_t i = 0; i < motion.components.size(); ++i) {
            const bool last = i + 1 == motion.components.size();
            const int repeats = last ? 1 : 1 + random.below(2);
            for (int r = 0; r < repeats; ++r)
                steps.push_back(frameOf(*motion.components[i].directions.begin(),
                                        last && r == repeats - 1 ? motion.button : -1));
        }
    }
}

InputLoop Hunt::randomLoop() {
    InputLoop loop;
    const int length = shortestLoop + random.below(longestLoop - shortestLoop + 1);
    while (static_cast<int>(loop.steps.size()) < length)
        addBlock(loop.steps);
    loop.steps.resize(static_cast<std::size_t>(length));
    return loop;
}

// A step changed, a press moved, a piece put in or a stretch taken out, keeping 8 to 40 steps.
InputLoop Hunt::mutated(InputLoop loop) {
    std::vector<InputFrame>& steps = loop.steps;
    const auto at = static_cast<std::size_t>(random.below(static_cast<int>(steps.size())));
    switch (random.below(4)) {
    case 0:
        steps[at].direction = held[random.below(static_cast<int>(std::size(held)))];
        break;
    case 1:
        steps[at].pressed[random.below(2)] ^= true;
        break;
    case 2: {
        std::vector<InputFrame> piece;
        addBlock(piece);
        steps.insert(steps.begin() + static_cast<long>(at), piece.begin(), piece.end());
        break;
    }
    default: {
        const std::size_t count = std::min<std::size_t>(1 + static_cast<std::size_t>(random.below(6)),
                                                        steps.size() - at);
        steps.erase(steps.begin() + static_cast<long>(at),
                    steps.begin() + static_cast<long>(at + count));
    }
    }
    while (static_cast<int>(steps.size()) < shortestLoop)
        addBlock(steps);
    if (static_cast<int>(steps.size()) > longestLoop)
        steps.resize(longestLoop);
    return loop;
}

// The first part of one, the rest of the other.
InputLoop Hunt::crossed(const InputLoop& a, const InputLoop& b) {
    InputLoop child;
    const auto cutA = static_cast<long>(random.below(static_cast<int>(a.steps.size())));
    const auto cutB = static_cast<long>(random.below(static_cast<int>(b.steps.size())));
    child.steps.assign(a.steps.begin(), a.steps.begin() + cutA);
    child.steps.insert(child.steps.end(), b.steps.begin() + cutB, b.steps.end());
    while (static_cast<int>(child.steps.size()) < shortestLoop)
        addBlock(child.steps);
    if (static_cast<int>(child.steps.size()) > longestLoop)
        child.steps.resize(longestLoop);
    return child;
}

Hunt::Found Hunt::run(std::ostream& out) {
    // The loops players found start it, padded to the shortest loop the hunt plays.
    std::vector<HuntCandidate> population;
    for (const NamedLoop& named : referenceLoops()) {
        InputLoop loop = *InputLoop::parse(named.text);
        while (static_cast<int>(loop.steps.size()) < shortestLoop)
            loop.steps.push_back(InputFrame());
        population.push_back({loop, 0});
    }
    while (static_cast<int>(population.size()) < settings.population)
        population.push_back({randomLoop(), 0});
    const auto byScore = [](const HuntCandidate& a, const HuntCandidate& b) {
        return a.score > b.score;
    };
    for (int generation = 1; generation <= settings.generations; ++generation) {
        const std::uint64_t seed = random.next();
        for (HuntCandidate& candidate : population)
            candidate.score = score(candidate.loop, seed);
        std::stable_sort(population.begin(), population.end(), byScore);
        out << "hunt: generation " << generation << ", best loop won "
            << population.front().score / 100000 << " of " << settings.scoringMatches
            << " rounds: " << population.front().loop.text() << std::endl;
        if (generation == settings.generations)
            break;
        // The better half stays; the other is made anew from it.
        const std::size_t kept = population.size() / 2;
        for (std::size_t i = kept; i < population.size(); ++i) {
            const InputLoop& parent = population[static_cast<std::size_t>(
                                                     random.below(static_cast<int>(kept)))]
                                          .loop;
            population[i].loop =
                random.below(3) == 0
                    ? crossed(parent, population[static_cast<std::size_t>(random.below(
                                                     static_cast<int>(kept)))]
                                          .loop)
                    : mutated(parent);
        }
    }
    Found found;
    found.loop = population.front().loop;
    found.matches = settings.checkMatches;
    found.wins = wins(found.loop, settings.checkMatches, settings.checkRounds, random.next());
    out << "hunt: best loop against level " << settings.level << ": " << found.loop.text() << " ("
        << found.loop.steps.size() << " steps), won " << found.wins << " of " << found.matches
        << " matches on fresh seeds" << std::endl;
    return found;
}
