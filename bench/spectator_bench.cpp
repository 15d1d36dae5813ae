#include <benchmark/benchmark.h>

#include "net/MessageCodec.h"
#include "net/SpectatorFeed.h"

namespace {

constexpr int spectators = 8;
// What UDP, IPv4 and ENet (its header and a reliable command's) add to every packet.
constexpr double packetOverhead = 28 + 4 + 12;

StepInput inputOf(int step) {
    StepInput input;
    input.players[0] = InputFrame::fromInputBits(static_cast<unsigned>(step % 9));
    input.players[1] = InputFrame::fromInputBits(static_cast<unsigned>((step / 7) % 9) | 0x10);
    return input;
}

// The host's spectator work in one frame: the step its session confirmed handed on, and what
// is due sent, each message encoded as the link sends it. Every sixth frame the batch goes to
// all eight; every 60th a checksum. Counts the bytes on the wire per spectator and second.
void BM_HostFrameWithEightSpectators(benchmark::State& state) {
    SpectatorFeed feed(1, MatchRules{});
    feed.cast(Lineup{{{{"brann", 1}, {"sora", 2}}}, {"courtyard", 3}});
    for (int id = 0; id < spectators; ++id)
        feed.join(id);
    const MatchState after;
    int step = 0;
    double bytes = 0;
    int packets = 0;
    for (auto _ : state) {
        feed.confirmed(step, inputOf(step), after);
        ++step;
        if (step % 60 == 0)
            feed.checksum(net::Checksum{1, step, 0x5eed});
        for (const SpectatorFeed::Outgoing& outgoing : feed.take()) {
            const std::vector<std::uint8_t> encoded = MessageCodec::encode(outgoing.message);
            benchmark::DoNotOptimize(encoded.data());
            bytes += static_cast<double>(encoded.size());
            ++packets;
        }
        if (step % 60 == 0)
            for (int id = 0; id < spectators; ++id)
                feed.heard(id, net::Watching{1, step - 60});
        benchmark::DoNotOptimize(feed.takeLeftBehind());
    }
    const double seconds = step / 60.0;
    state.counters["bytes/s per spectator"] =
        (bytes + packets * packetOverhead) / spectators / seconds;
}
BENCHMARK(BM_HostFrameWithEightSpectators)->Unit(benchmark::kMicrosecond);

// The worst of those frames: the batch goes to all eight and a ninth joins the match under
// way, starting from the confirmed match, encoded.
void BM_HostFrameWhenASpectatorJoins(benchmark::State& state) {
    SpectatorFeed feed(1, MatchRules{});
    feed.cast(Lineup{{{{"brann", 1}, {"sora", 2}}}, {"courtyard", 3}});
    for (int id = 0; id < spectators; ++id)
        feed.join(id);
    const MatchState after;
    int step = 0;
    feed.take();
    for (auto _ : state) {
        state.PauseTiming();
        feed.leave(spectators);
        for (int i = 0; i < SpectatorFeed::batchSteps - 1; ++i, ++step)
            feed.confirmed(step, inputOf(step), after);
        feed.take();
        feed.join(spectators);
        state.ResumeTiming();
        feed.confirmed(step, inputOf(step), after);
        ++step;
        for (const SpectatorFeed::Outgoing& outgoing : feed.take())
            benchmark::DoNotOptimize(MessageCodec::encode(outgoing.message).data());
    }
}
BENCHMARK(BM_HostFrameWhenASpectatorJoins)->Unit(benchmark::kMicrosecond);

} // namespace
