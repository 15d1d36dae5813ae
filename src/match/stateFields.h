#pragma once

#include <cstdint>
#include <cstring>

#include "match/MatchState.h"

// Every field of a match state as a 64-bit word, in a fixed order, for the checksum and for
// naming the fields in which two states differ. visit(owner, field, word): owner is 0 and 1 for
// the fighters, 2 and 3 for the input panels, 4 for the rules and rounds of a versus match, which
// only a versus match has, and the fields of the rules of fair fights only under them (so the
// checksums of a plain match and of a versus match of the first rules stay what they always
// were); 5 and 6 for the fighters' projectiles and 7 for a throw, each only while there is one.
// Values, never addresses: the character data's animations count by their action and track
// positions.
namespace stateFields {

inline std::uint64_t bitsOf(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

inline std::uint64_t wordOf(const InputFrame& frame) {
    return frame.inputBits() |
           static_cast<std::uint64_t>(static_cast<std::uint32_t>(frame.frameNumber)) << 32;
}

inline std::uint64_t wordOf(const TrackPosition& track) {
    return static_cast<std::uint64_t>(static_cast<std::uint32_t>(track.currentFrame)) |
           static_cast<std::uint64_t>(track.segmentIndex & 0xffff) << 32 |
           static_cast<std::uint64_t>(track.segmentFrame & 0x7fff) << 48 |
           std::uint64_t{track.finished} << 63;
}

inline std::uint64_t flagsOf(const PlayerState& state) {
    return std::uint64_t{state.facingLeft} | std::uint64_t{state.canAct} << 1 |
           std::uint64_t{state.canBlock} << 2 | std::uint64_t{state.canHit} << 3 |
           std::uint64_t{state.attacking} << 4;
}

inline std::uint64_t pairOf(int low, int high) {
    return static_cast<std::uint64_t>(static_cast<std::uint32_t>(low)) |
           static_cast<std::uint64_t>(static_cast<std::uint32_t>(high)) << 32;
}

template <typename Visit>
void visitFighter(int owner, const FighterState& fighter, bool fair, Visit&& visit) {
    const PlayerState& state = fighter.state;
    visit(owner, "position.x", bitsOf(state.position.x));
    visit(owner, "position.y", bitsOf(state.position.y));
    visit(owner, "action", static_cast<std::uint64_t>(state.action));
    visit(owner, "flags", flagsOf(state));
    visit(owner, "stunFrames", static_cast<std::uint64_t>(state.stunFrames));
    visit(owner, "health", static_cast<std::uint64_t>(state.health));
    if (fair) {
        visit(owner, "combo", pairOf(state.combo.hits, state.combo.damage));
        visit(owner, "combo end", pairOf(state.combo.stepsSinceEnd, state.pushbackSteps));
    }
    visit(owner, "animation", static_cast<std::uint64_t>(fighter.animationAction) |
                                  std::uint64_t{fighter.hitboxesShown} << 8);
    std::uint64_t changed = 0;
    for (int track = 0; track < FrameAnimPosition::trackCount; ++track) {
        visit(owner, "animation track", wordOf(fighter.animation.tracks[track]));
        changed |= std::uint64_t{fighter.animation.changed[track]} << track;
    }
    visit(owner, "animation changed", changed);
    visit(owner, "frameCounter", static_cast<std::uint64_t>(fighter.frameCounter));
    for (const InputFrame& frame : fighter.history)
        visit(owner, "history", wordOf(frame));
}

template <typename Visit> void visitPanel(int owner, const InputPanelState& panel, Visit&& visit) {
    visit(owner, "state", std::uint64_t{panel.visible} |
                              static_cast<std::uint64_t>(panel.rowCount) << 8 |
                              static_cast<std::uint64_t>(panel.visibleFrameCount) << 32);
    visit(owner, "last input", wordOf(panel.lastFrame));
    for (int row = 0; row < panel.rowCount; ++row) {
        visit(owner, "rows", wordOf(panel.rows[row].frame));
        visit(owner, "rows", static_cast<std::uint64_t>(panel.rows[row].count));
    }
}

template <typename Visit> void visitVersus(int owner, const MatchState& state, Visit&& visit) {
    const MatchRules& rules = state.rules;
    const RoundState& round = state.round;
    visit(owner, "rules", static_cast<std::uint64_t>(rules.rounds) |
                              static_cast<std::uint64_t>(rules.roundSteps) << 32);
    visit(owner, "round", static_cast<std::uint64_t>(round.round) |
                              static_cast<std::uint64_t>(round.phase) << 32 |
                              static_cast<std::uint64_t>(round.ending) << 40 |
                              static_cast<std::uint64_t>(round.winner + 1) << 48);
    visit(owner, "timer", static_cast<std::uint64_t>(round.timer) |
                              static_cast<std::uint64_t>(round.shownSteps) << 32);
    visit(owner, "wins", static_cast<std::uint64_t>(round.wins[0]) |
                             static_cast<std::uint64_t>(round.wins[1]) << 32);
    visit(owner, "matches", static_cast<std::uint64_t>(round.matchesPlayed) |
                                std::uint64_t{round.rematch[0]} << 32 |
                                std::uint64_t{round.rematch[1]} << 33);
    if (rules.playsFair())
        visit(owner, "rules version", static_cast<std::uint64_t>(rules.version));
}

template <typename Visit> void visitMoves(const MatchState& state, Visit&& visit) {
    for (int side = 0; side < 2; ++side) {
        const ProjectileState& flying = state.projectiles[static_cast<std::size_t>(side)];
        if (!flying.active)
            continue;
        visit(5 + side, "position", bitsOf(flying.x) | bitsOf(flying.y) << 32);
        visit(5 + side, "flight", pairOf(flying.facingLeft, flying.age));
    }
    if (state.grab.holding())
        visit(7, "hold", pairOf(state.grab.thrower, state.grab.steps));
}

template <typename Visit> void visit(const MatchState& state, Visit&& visit) {
    // First, so a difference in them is named even when the panels part ways.
    if (state.rules.versus)
        visitVersus(4, state, visit);
    const bool fair = state.rules.playsFair();
    visitFighter(0, state.fighters[0], fair, visit);
    visitFighter(1, state.fighters[1], fair, visit);
    visitPanel(2, state.panels[0], visit);
    visitPanel(3, state.panels[1], visit);
    visitMoves(state, visit);
}

} // namespace stateFields
