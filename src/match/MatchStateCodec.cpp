#include "match/MatchStateCodec.h"

#include <cmath>
#include <cstring>

#include "anim/CharacterData.h"
#include "files/ByteCursor.h"
#include "match/FairRules.h"

namespace {

class Out {
public:
    void word(std::uint64_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
    void operator()(int& value) { word(static_cast<std::uint32_t>(value), 4); }
    void operator()(bool& value) { word(value, 1); }
    void operator()(float& value) {
        std::uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        word(bits, 4);
    }
    template <typename Enum> void enumeration(Enum& value, int) {
        word(static_cast<std::uint32_t>(value), 1);
    }
    void range(int& value, int, int) { (*this)(value); }
    void frame(InputFrame& frame) {
        word(frame.inputBits(), 1);
        (*this)(frame.frameNumber);
    }

    std::vector<std::uint8_t> out;
};

// Any value out of range, or a read past the end, marks the whole state bad.
class In : public ByteCursor {
public:
    using ByteCursor::ByteCursor;

    void operator()(int& value) { value = static_cast<std::int32_t>(get(4)); }
    void operator()(bool& value) {
        const std::uint64_t bits = get(1);
        bad |= bits > 1;
        value = bits == 1;
    }
    void operator()(float& value) {
        const auto bits = static_cast<std::uint32_t>(get(4));
        std::memcpy(&value, &bits, sizeof value);
        bad |= !std::isfinite(value);
    }
    template <typename Enum> void enumeration(Enum& value, int last) {
        const std::uint64_t bits = get(1);
        bad |= bits > static_cast<std::uint64_t>(last);
        value = static_cast<Enum>(bits);
    }
    void range(int& value, int first, int last) {
        (*this)(value);
        bad |= value < first || value > last;
    }
    void frame(InputFrame& frame) {
        const auto bits = static_cast<unsigned>(get(1));
        bad |= (bits & ~InputFrame::inputBitMask) != 0 || !InputFrame::validInputBits(bits);
        frame = InputFrame::fromInputBits(bits & InputFrame::inputBitMask);
        (*this)(frame.frameNumber);
    }

};

// What only ever counts up, by a step at most each step, a stun that counts down to 0 and a
// health that only goes down: no match reaches beyond a billion (half a year of play), and what
// does not stay well within an int would overflow as the match, or the sound following it, goes
// on.
constexpr int maxCount = 1000000000;

template <typename IO> void fighterFields(FighterState& fighter, IO& io, int layout) {
    PlayerState& state = fighter.state;
    io(state.position.x);
    io(state.position.y);
    io.enumeration(state.action, PlayerState::Throw);
    io(state.facingLeft);
    io(state.canAct);
    io(state.canBlock);
    io(state.canHit);
    io(state.attacking);
    io.range(state.stunFrames, 0, maxCount);
    io.range(state.health, -maxCount, maxCount);
    if (layout >= 2) {
        io.range(state.combo.hits, 0, FairRules::comboHitLimit);
        io.range(state.combo.damage, 0, FairRules::comboDamageLimit);
        io.range(state.combo.stepsSinceEnd, 0, FairRules::comboKeptSteps);
        io.range(state.pushbackSteps, 0, FairRules::pushbackSteps);
    }
    io.enumeration(fighter.animationAction, PlayerState::Throw);
    for (int track = 0; track < FrameAnimPosition::trackCount; ++track) {
        TrackPosition& position = fighter.animation.tracks[track];
        io(position.currentFrame);
        io(position.segmentIndex);
        io(position.segmentFrame);
        io(position.finished);
        io(fighter.animation.changed[track]);
    }
    for (InputFrame& frame : fighter.history)
        io.frame(frame);
    io.range(fighter.frameCounter, 0, maxCount);
    io(fighter.hitboxesShown);
}

template <typename IO> void panelFields(InputPanelState& panel, IO& io) {
    io(panel.visible);
    io.frame(panel.lastFrame);
    io.range(panel.visibleFrameCount, 0, maxCount);
    io.range(panel.rowCount, 0, InputPanelState::maxRows);
    for (InputPanelRow& row : panel.rows) {
        io.frame(row.frame);
        io(row.count);
    }
}

template <typename IO> void fields(MatchState& state, IO& io, int layout) {
    for (FighterState& fighter : state.fighters)
        fighterFields(fighter, io, layout);
    for (InputPanelState& panel : state.panels)
        panelFields(panel, io);
    io(state.rules.versus);
    io.range(state.rules.rounds, 1, 9);
    io.range(state.rules.roundSteps, 1, MatchRules::maxRoundSteps);
    if (layout >= 2)
        io.range(state.rules.version, MatchRules::firstVersion, MatchRules::latestVersion);
    else
        state.rules.version = MatchRules::firstVersion;
    RoundState& round = state.round;
    io.range(round.round, 1, 1000);
    io.range(round.timer, 0, MatchRules::maxRoundSteps);
    io.range(round.wins[0], 0, 9);
    io.range(round.wins[1], 0, 9);
    io.enumeration(round.phase, RoundState::Announcing);
    io.range(round.shownSteps, 0, maxCount);
    io.enumeration(round.ending, RoundState::TimeOut);
    io.range(round.winner, RoundState::draw, 1);
    io.range(round.matchesPlayed, 0, maxCount);
    io(round.rematch[0]);
    io(round.rematch[1]);
}

template <typename IO> void moveFields(MatchState& state, IO& io) {
    for (ProjectileState& flying : state.projectiles) {
        io(flying.active);
        io(flying.x);
        io(flying.y);
        io(flying.facingLeft);
        io.range(flying.age, 0, maxCount);
    }
    io.range(state.grab.thrower, -1, 1);
    io.range(state.grab.steps, 0, maxCount);
}

// Projectiles and throws follow the fields of the layout, after a byte that says so, only while
// there is one: a state without them has the very bytes it always had.
bool hasMoves(const MatchState& state) {
    return state.projectiles[0].active || state.projectiles[1].active || state.grab.holding();
}

} // namespace

namespace MatchStateCodec {

std::vector<std::uint8_t> encode(const MatchState& state, int layout) {
    MatchState copy = state;
    Out out;
    fields(copy, out, layout);
    if (hasMoves(copy)) {
        out.word(1, 1);
        moveFields(copy, out);
    }
    return out.out;
}

std::optional<MatchState> decode(const std::uint8_t* data, std::size_t size, int layout) {
    if (!data)
        return std::nullopt;
    MatchState state;
    In in(data, size);
    fields(state, in, layout);
    if (!in.atEnd()) {
        if (in.get(1) != 1)
            return std::nullopt;
        moveFields(state, in);
    }
    if (!in.complete() || !state.rules.valid())
        return std::nullopt;
    return state;
}

bool fits(const MatchState& state, const CharacterData& first, const CharacterData& second) {
    const CharacterData* characters[2] = {&first, &second};
    for (std::size_t side = 0; side < 2; ++side) {
        const FighterState& fighter = state.fighters[side];
        const CharacterData& character = *characters[side];
        const bool throws = character.throwMove.has_value();
        if ((!throws && (fighter.state.action == PlayerState::Throw ||
                         fighter.animationAction == PlayerState::Throw)) ||
            (state.projectiles[side].active && !character.projectile))
            return false;
        if (!character.getAnimation(fighter.animationAction).fits(fighter.animation))
            return false;
    }
    return !state.grab.holding() ||
           characters[static_cast<std::size_t>(state.grab.thrower)]->throwMove.has_value();
}

} // namespace MatchStateCodec
