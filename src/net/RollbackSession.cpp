#include "net/RollbackSession.h"

#include <algorithm>

#include "match/checksum.h"
#include "net/NetInput.h"

namespace {

// Steps between two skips at least: the other side's report of the effect takes a round trip.
constexpr int skipSpacing = 20;
// The side whose advantage exceeds the other's by this much runs ahead by at least a step.
constexpr int skipThreshold = 3;

} // namespace

RollbackSession::RollbackSession(Match& match, int localSide, int inputDelay,
                                 std::uint32_t session)
    : timeline(match), session(session), inputDelay(inputDelay) {
    local.side = localSide;
    remote.side = 1 - localSide;
    // The steps before the first local input takes effect.
    for (int step = 0; step < inputDelay; ++step)
        local.append(NetInput::idle);
}

void RollbackSession::receive(const net::Inputs& inputs) {
    const int end = inputs.firstStep + static_cast<int>(inputs.frames.size());
    // Acknowledging frames never sent, or sending frames far past any step the other side
    // could have reached, is no honest message.
    if (inputs.session != session || inputs.received > local.count ||
        end > now() + Frames::kept / 2) {
        ++statistics.dropped;
        return;
    }
    acknowledged = std::max(acknowledged, inputs.received);
    countArrival(inputs.step);
    if (inputs.step >= remoteStep) {
        remoteStep = inputs.step;
        remoteAdvantage = inputs.advantage;
    }
    // A message older than a lost one leaves a gap: the next one fills it.
    if (inputs.firstStep > remote.count)
        return;
    for (int step = remote.count; step < end; ++step) {
        const std::uint16_t input = inputs.frames[static_cast<std::size_t>(step - inputs.firstStep)];
        if (step < now() && input != usedRemote[static_cast<std::size_t>(step % Frames::kept)] &&
            !firstWrong)
            firstWrong = step;
        remote.append(input);
    }
}

// The other side sends one Inputs message a logic step, its `step` one more after every step it
// ran and the same while it waits: a step between two heard that never comes is a message lost
// on the way. The messages are unsequenced, so one that comes late takes its loss back; one
// that comes twice, or again while the other side waits, counts once.
void RollbackSession::countArrival(int step) {
    const auto slot = [](int at) { return static_cast<std::size_t>(at % Frames::kept); };
    // No step the other side can have reached.
    if (step < 0 || step > now() + Frames::kept)
        return;
    if (newestHeard < 0)
        newestHeard = step - 1;
    if (step > newestHeard) {
        for (int missing = std::max(newestHeard + 1, step - Frames::kept); missing < step; ++missing)
            heard.reset(slot(missing));
        statistics.inputsLost += step - newestHeard - 1;
        newestHeard = step;
    } else if (step <= newestHeard - Frames::kept || heard.test(slot(step))) {
        return;
    } else {
        --statistics.inputsLost;
    }
    heard.set(slot(step));
    ++statistics.inputsHeard;
}

void RollbackSession::receive(const net::Checksum& checksum) {
    if (checksum.session != session || checksum.step % checksumInterval != 0 ||
        checksum.step == 0 || checksum.step > local.count) {
        ++statistics.dropped;
        return;
    }
    remoteChecksums[checksum.step] = checksum.value;
    compare(checksum.step);
}

RollbackSession::Outcome RollbackSession::step(std::uint16_t localInput) {
    statistics.lastRolledBack = 0;
    rollBack();
    exchangeChecksums();
    localInput |= carriedPresses;
    carriedPresses = 0;
    const auto holdBack = [&](int& count) {
        ++count;
        carriedPresses = localInput & (NetInput::punchBit | NetInput::kickBit);
    };
    if (now() >= remote.count + MatchTimeline::maxRollback) {
        holdBack(statistics.waited);
        return Outcome::Waited;
    }
    if (shouldSkip()) {
        holdBack(statistics.skipped);
        stepsSinceSkip = 0;
        return Outcome::Skipped;
    }

    local.append(localInput);
    const int step = now();
    usedRemote[static_cast<std::size_t>(step % Frames::kept)] = remoteInputFor(step);
    timeline.advance(stepInput(step));
    ++stepsSinceSkip;
    confirmSteps();
    exchangeChecksums();
    return Outcome::Advanced;
}

net::Inputs RollbackSession::inputsToSend() const {
    net::Inputs inputs;
    inputs.session = session;
    inputs.firstStep = std::max(acknowledged, local.count - net::maxFramesPerMessage);
    inputs.received = remote.count;
    inputs.step = now();
    inputs.advantage = static_cast<std::int8_t>(std::clamp(now() - remoteStep, -128, 127));
    for (int step = inputs.firstStep; step < local.count; ++step)
        inputs.frames.push_back(local.at(step));
    return inputs;
}

int RollbackSession::finish() {
    rollBack();
    const int end = std::min(local.count, remote.count);
    while (now() < end) {
        const int step = now();
        usedRemote[static_cast<std::size_t>(step % Frames::kept)] = remoteInputFor(step);
        timeline.advance(stepInput(step));
    }
    confirmSteps();
    return end;
}

std::vector<net::Checksum> RollbackSession::takeChecksums() {
    std::vector<net::Checksum> taken;
    taken.swap(outgoing);
    return taken;
}

std::uint16_t RollbackSession::remoteInputFor(int step) const {
    if (step < remote.count)
        return remote.at(step);
    return remote.count == 0 ? NetInput::idle
                             : NetInput::predictedAfter(remote.at(remote.count - 1));
}

StepInput RollbackSession::stepInput(int step) const {
    const std::uint16_t mine = local.at(step);
    const std::uint16_t theirs = remoteInputFor(step);
    StepInput input;
    input.players[local.side] = NetInput::frameOf(mine);
    input.players[remote.side] = NetInput::frameOf(theirs);
    input.keys = NetInput::keysOf(mine, theirs);
    return input;
}

// Never further back than the timeline reaches: no step is run past the last known remote
// step plus maxRollback, and only a step at or after it can have been guessed wrong.
void RollbackSession::rollBack() {
    if (!firstWrong)
        return;
    const int from = *firstWrong;
    firstWrong.reset();
    for (int step = from; step < now(); ++step) {
        usedRemote[static_cast<std::size_t>(step % Frames::kept)] = remoteInputFor(step);
        timeline.setInput(step, stepInput(step));
    }
    timeline.resimulateFrom(from);
    const int steps = now() - from;
    ++statistics.rollbacks;
    statistics.rolledBackSteps += steps;
    statistics.maxRollback = std::max(statistics.maxRollback, steps);
    statistics.lastRolledBack = steps;
    confirmSteps();
}

// Each side reports how far it thinks it runs ahead of the other; half the difference of the
// two reports is how far it really does, whatever the latency.
bool RollbackSession::shouldSkip() const {
    if (remoteStep == 0)
        return false;
    const int advantage = now() - remoteStep;
    return advantage - remoteAdvantage >= skipThreshold && stepsSinceSkip >= skipSpacing;
}

void RollbackSession::confirmSteps() {
    // A step is confirmed once it ran on both sides' real input; the local input runs ahead of
    // the match by the input delay.
    const int known = std::min({local.count, remote.count, now()});
    for (; confirmed < known; ++confirmed)
        if (onConfirmed)
            onConfirmed(confirmed, stepInput(confirmed), timeline.stateBefore(confirmed + 1));
}

// The match before step k is confirmed once every step before it ran on both sides' real input.
void RollbackSession::exchangeChecksums() {
    while (nextChecksum <= now() && nextChecksum <= remote.count) {
        const std::uint64_t value = checksum(timeline.stateBefore(nextChecksum));
        localChecksums[nextChecksum] = value;
        outgoing.push_back({session, nextChecksum, value});
        compare(nextChecksum);
        nextChecksum += checksumInterval;
    }
}

void RollbackSession::compare(int step) {
    const auto mine = localChecksums.find(step);
    const auto theirs = remoteChecksums.find(step);
    if (mine == localChecksums.end() || theirs == remoteChecksums.end())
        return;
    if (mine->second == theirs->second)
        ++statistics.checksumsMatched;
    else if (!desync)
        desync = step;
    localChecksums.erase(mine);
    remoteChecksums.erase(theirs);
}
