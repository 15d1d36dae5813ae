#include "cpu/OpponentModel.h"

#include <algorithm>

namespace {

// A run's key: its length and inputs, newest first, mixed as in the common fast hashes.
std::uint64_t extend(std::uint64_t key, OpponentModel::Symbol symbol) {
    key ^= symbol + 1;
    key *= 0x9e3779b97f4a7c15ull;
    return key ^ key >> 29;
}

// A run followed this often before is foreseen from; a shorter one otherwise.
constexpr int minimumSeen = 2;

} // namespace

OpponentModel::OpponentModel(int order) : order(std::clamp(order, 1, maxOrder)) {
    recent.reserve(static_cast<std::size_t>(this->order) + 1);
}

OpponentModel::Symbol OpponentModel::symbolOf(const InputFrame& relative) {
    return static_cast<Symbol>(relative.direction + 9 * (relative.pressed[0] + 2 * relative.pressed[1]));
}

InputFrame OpponentModel::frameOf(Symbol symbol) {
    InputFrame frame;
    frame.direction = static_cast<Direction::eDirection>(symbol % 9);
    frame.pressed[0] = (symbol / 9 & 1) != 0;
    frame.pressed[1] = (symbol / 9 & 2) != 0;
    return frame;
}

void OpponentModel::Followers::add(Symbol symbol) {
    total = static_cast<std::uint16_t>(std::min(total + 1, 60000));
    int weakest = 0;
    for (int i = 0; i < kept; ++i) {
        if (counts[static_cast<std::size_t>(i)] > 0 && symbols[static_cast<std::size_t>(i)] == symbol) {
            counts[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(
                std::min(counts[static_cast<std::size_t>(i)] + 1, 60000));
            return;
        }
        if (counts[static_cast<std::size_t>(i)] < counts[static_cast<std::size_t>(weakest)])
            weakest = i;
    }
    // A new follower takes the place of the rarest.
    symbols[static_cast<std::size_t>(weakest)] = symbol;
    counts[static_cast<std::size_t>(weakest)] = 1;
}

int OpponentModel::Followers::best() const {
    return static_cast<int>(std::max_element(counts.begin(), counts.end()) - counts.begin());
}

void OpponentModel::keysOf(const std::vector<Symbol>& inputs,
                           std::array<std::uint64_t, maxOrder>& keys, int& lengths) const {
    lengths = std::min(order, static_cast<int>(inputs.size()));
    std::uint64_t key = 0;
    for (int k = 0; k < lengths; ++k) {
        key = extend(key, inputs[inputs.size() - 1 - static_cast<std::size_t>(k)]);
        keys[static_cast<std::size_t>(k)] = key;
    }
}

void OpponentModel::learn(Symbol symbol) {
    std::array<std::uint64_t, maxOrder> keys;
    int lengths = 0;
    keysOf(recent, keys, lengths);
    for (int k = 0; k < lengths; ++k)
        followers[keys[static_cast<std::size_t>(k)]].add(symbol);
    recent.push_back(symbol);
    if (static_cast<int>(recent.size()) > order)
        recent.erase(recent.begin());
}

std::vector<OpponentModel::Symbol> OpponentModel::foresee(int count, double& sureness) const {
    std::vector<Symbol> inputs = recent;
    std::vector<Symbol> ahead;
    ahead.reserve(static_cast<std::size_t>(count));
    double shares = 0;
    std::array<std::uint64_t, maxOrder> keys;
    for (int i = 0; i < count; ++i) {
        int lengths = 0;
        keysOf(inputs, keys, lengths);
        const Followers* found = nullptr;
        for (int k = lengths - 1; k >= 0 && !found; --k) {
            const auto it = followers.find(keys[static_cast<std::size_t>(k)]);
            if (it != followers.end() && it->second.total >= minimumSeen)
                found = &it->second;
        }
        Symbol next = inputs.empty() ? symbolOf(InputFrame()) : inputs.back();
        if (found) {
            const auto best = static_cast<std::size_t>(found->best());
            next = found->symbols[best];
            shares += static_cast<double>(found->counts[best]) / found->total;
        }
        // What is held goes on being held; a press is not.
        if (!found)
            next = static_cast<Symbol>(next % 9);
        ahead.push_back(next);
        inputs.push_back(next);
        if (static_cast<int>(inputs.size()) > order)
            inputs.erase(inputs.begin());
    }
    sureness = count > 0 ? shares / count : 0;
    return ahead;
}
