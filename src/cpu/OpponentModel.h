#pragma once

#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "input/InputFrame.h"

// What a computer player has learnt of the other player: which input followed each run of the
// inputs before it, for every run length up to the model's order, counted over the inputs it
// has seen (relative to the way the other fighter faced, so a loop reads the same on either
// side). It foresees the other's next inputs from the longest run it has seen followed before,
// so a repeated sequence of any length, a loop or a habit, is foreseen once it has come round
// a few times. A larger order tells longer sequences apart. Owned by the CpuPlayer.
class OpponentModel {
public:
    // An input as the model counts it: a relative direction and the two presses.
    using Symbol = std::uint8_t;
    static constexpr int symbolCount = 9 * 4;
    // The longest run any level looks back on.
    static constexpr int maxOrder = 24;

    explicit OpponentModel(int order);

    static Symbol symbolOf(const InputFrame& relative);
    static InputFrame frameOf(Symbol symbol);

    // The other player's next input as seen.
    void learn(Symbol symbol);

    // The next `count` inputs after the last one learnt, each foreseen from the ones before it,
    // foreseen ones included; with `sureness` the average share of the times each foreseen input
    // followed its run (0 where nothing was foreseen and the last input is held).
    std::vector<Symbol> foresee(int count, double& sureness) const;

private:
    // The inputs that followed one run: its most frequent few and how often each came.
    struct Followers {
        static constexpr int kept = 4;
        std::array<Symbol, kept> symbols{};
        std::array<std::uint16_t, kept> counts{};
        std::uint16_t total = 0;

        void add(Symbol symbol);
        int best() const;
    };

    // The keys of the runs ending with the newest of `recent`, of every length up to the order.
    void keysOf(const std::vector<Symbol>& recent, std::array<std::uint64_t, maxOrder>& keys,
                int& lengths) const;

    int order;
    // The last inputs learnt, newest last, at most `order` of them.
    std::vector<Symbol> recent;
    std::unordered_map<std::uint64_t, Followers> followers;
};
