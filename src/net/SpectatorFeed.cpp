#include "net/SpectatorFeed.h"

#include <algorithm>

#include "match/MatchStateCodec.h"
#include "replay/ReplayFormat.h"

SpectatorFeed::SpectatorFeed(std::uint32_t session, const MatchRules& rules)
    : session(session), rules(rules) {}

void SpectatorFeed::cast(const Lineup& chosen) {
    lineup = chosen;
}

void SpectatorFeed::join(int spectator) {
    watchers.push_back({spectator});
}

void SpectatorFeed::leave(int spectator) {
    watchers.erase(std::remove_if(watchers.begin(), watchers.end(),
                                  [&](const Watcher& w) { return w.id == spectator; }),
                   watchers.end());
}

void SpectatorFeed::heard(int spectator, const net::Watching& watching) {
    if (watching.session != session)
        return;
    for (Watcher& watcher : watchers)
        if (watcher.id == spectator && watcher.started)
            watcher.played = std::max(watcher.played, std::min(watching.played, frontier));
}

void SpectatorFeed::confirmed(int step, const StepInput& input, const MatchState& after) {
    if (ended || step != frontier)
        return;
    batch.push_back(ReplayFormat::encodeStep(input));
    ++frontier;
    if (anyWaiting())
        latest = after;
}

void SpectatorFeed::checksum(const net::Checksum& checksum) {
    checksums.push_back(checksum);
}

void SpectatorFeed::end(net::QuitReason reason, const MatchState* stateAtEnd) {
    if (ended)
        return;
    ended = reason;
    if (stateAtEnd)
        latest = *stateAtEnd;
}

std::vector<SpectatorFeed::Outgoing> SpectatorFeed::take() {
    std::vector<Outgoing> out;
    if (watchers.empty() || endSent) {
        batch.clear();
        checksums.clear();
        return out;
    }
    const bool flush = ended || static_cast<int>(batch.size()) >= batchSteps;
    // A burst of confirmed steps (after the other player's input was late) takes several.
    for (std::size_t at = 0; flush && at < batch.size(); at += net::maxFramesPerMessage) {
        const auto end = batch.begin() + static_cast<std::ptrdiff_t>(
                                             std::min(batch.size(), at + net::maxFramesPerMessage));
        sendToStarted(out, net::Steps{session,
                                      frontier - static_cast<int>(batch.size() - at),
                                      {batch.begin() + static_cast<std::ptrdiff_t>(at), end}});
    }
    if (flush)
        batch.clear();
    // A checksum goes once the steps before it went.
    const int sent = frontier - static_cast<int>(batch.size());
    const auto due = std::partition(checksums.begin(), checksums.end(),
                                    [&](const net::Checksum& c) { return c.step <= sent; });
    std::for_each(checksums.begin(), due, [&](const net::Checksum& c) { sendToStarted(out, c); });
    checksums.erase(checksums.begin(), due);
    // A newcomer starts between two messages of steps, from the match before the next step.
    if (batch.empty() && lineup)
        for (Watcher& watcher : watchers)
            if (!watcher.started && (frontier == 0 || latest))
                start(out, watcher);
    if (!anyWaiting())
        latest.reset();
    if (ended && !endSent)
        sendToStarted(out, net::Quit{session, *ended, frontier});
    endSent = ended.has_value();
    return out;
}

std::vector<int> SpectatorFeed::takeLeftBehind() {
    std::vector<int> behind;
    for (const Watcher& watcher : watchers)
        if (watcher.started && frontier - watcher.played > maxBehind)
            behind.push_back(watcher.id);
    for (int id : behind)
        leave(id);
    return behind;
}

bool SpectatorFeed::anyWaiting() const {
    return std::any_of(watchers.begin(), watchers.end(),
                       [](const Watcher& w) { return !w.started; });
}

void SpectatorFeed::sendToStarted(std::vector<Outgoing>& out, const net::Message& message) const {
    for (const Watcher& watcher : watchers)
        if (watcher.started)
            out.push_back({watcher.id, message});
}

void SpectatorFeed::start(std::vector<Outgoing>& out, Watcher& watcher) {
    out.push_back({watcher.id, net::Hello{net::protocolVersion, 0, session}});
    net::Start start{session, frontier, *lineup, rules, {}};
    if (frontier > 0)
        start.state = MatchStateCodec::encode(*latest);
    out.push_back({watcher.id, std::move(start)});
    watcher.started = true;
    watcher.played = frontier;
}
