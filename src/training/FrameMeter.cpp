#include "training/FrameMeter.h"

#include "match/FrameDataProbe.h"

namespace {

using Cell = FrameMeter::Cell;

bool startsMove(const FrameMeter::Sample& sample) {
    return !sample.before.attacking && sample.after.attacking;
}

// A fighter free at the start of a step is free, or starting a move; the last step of a move
// still shows its last segment, active or not, but the fighter can act by then.
Cell classify(const FrameMeter::Sample& sample, bool moveActive) {
    if (FrameDataProbe::canAct(sample.before))
        return sample.after.attacking ? Cell::Startup : Cell::Free;
    if (sample.attackLive)
        return Cell::Active;
    if (sample.before.attacking)
        return moveActive ? Cell::Recovery : Cell::Startup;
    // The wait a blocked attack leaves its attacker with, standing idle.
    if (sample.before.action == PlayerState::Idle)
        return Cell::Recovery;
    return sample.before.action == PlayerState::Block ? Cell::BlockStun : Cell::HitStun;
}

bool stunned(Cell cell) { return cell == Cell::HitStun || cell == Cell::BlockStun; }

} // namespace

void FrameMeter::step(const Sample& first, const Sample& second) {
    const bool bothFree = FrameDataProbe::canAct(first.before) && !first.after.attacking &&
                          FrameDataProbe::canAct(second.before) && !second.after.attacking;
    if (bothFree) {
        if (running) {
            running = false;
            finished = true;
            rows[0].advantage = rows[1].lastBusy - rows[0].lastBusy;
            rows[1].advantage = -rows[0].advantage;
        }
        return;
    }
    if (!running)
        begin();
    record(rows[0], first);
    record(rows[1], second);
    ++length;
}

void FrameMeter::begin() {
    clear();
    running = true;
}

void FrameMeter::record(Row& row, const Sample& sample) {
    if (startsMove(sample)) {
        row.moveStart = length;
        row.moveActive = false;
    }
    const Cell cell = classify(sample, row.moveActive);
    if (cell == Cell::Active && !row.moveActive) {
        row.moveActive = true;
        if (row.startup == 0)
            row.startup = length - row.moveStart + 1;
    }
    if (cell != Cell::Free)
        row.lastBusy = length;
    contact = contact || stunned(cell);
    row.cells[static_cast<std::size_t>(length % barLength)] = cell;
}

std::string FrameMeter::summary(int fighter) const {
    const Row& row = rows[static_cast<std::size_t>(fighter)];
    std::string line = "P" + std::to_string(fighter + 1);
    if (!finished)
        return line;
    if (row.startup > 0)
        line += "  startup " + std::to_string(row.startup);
    if (contact)
        line += std::string("  advantage ") + (row.advantage > 0 ? "+" : "") +
                std::to_string(row.advantage);
    return line;
}
