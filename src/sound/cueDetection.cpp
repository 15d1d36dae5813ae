#include "sound/cueDetection.h"

#include "match/MatchState.h"

namespace {

// A stun that is not the old one counted down was given in this step: a hit or a block landed.
bool stunGiven(const PlayerState& before, const PlayerState& after) {
    return after.stunFrames > 0 && after.stunFrames != before.stunFrames - 1;
}

void fighterCues(const MatchState& before, const MatchState& after, int side, StepCues& cues) {
    const PlayerState& was = before.fighters[static_cast<std::size_t>(side)].state;
    const PlayerState& is = after.fighters[static_cast<std::size_t>(side)].state;
    const PlayerState& attacker = before.fighters[static_cast<std::size_t>(1 - side)].state;
    if (is.attacking && !was.attacking)
        cues.add(is.action == PlayerState::Tatsu ? SoundCue::SpinWhoosh : SoundCue::Whoosh, side);
    if (stunGiven(was, is) || is.health < was.health) {
        if (is.action == PlayerState::Block)
            cues.add(SoundCue::Block, side);
        else
            cues.add(attacker.action == PlayerState::Tatsu ? SoundCue::HeavyHit : SoundCue::Hit,
                     side);
    }
    if (was.health > 0 && is.health <= 0)
        cues.add(SoundCue::KnockOut, side);
}

// Either player's next win takes the match, or no round may follow this one.
bool finalRound(const MatchRules& rules, const RoundState& round) {
    const int last = rules.winsNeeded() - 1;
    return (round.wins[0] == last && round.wins[1] == last) || round.round >= 2 * rules.rounds;
}

// The round's clock ran its k-th step in this step: each happens once a round.
bool roundStep(const MatchState& before, const MatchState& after, int k) {
    return after.round.phase == RoundState::Fighting && after.round.timer + 1 == before.round.timer &&
           after.round.timer == after.rules.roundSteps - k;
}

void announcerCues(const MatchState& before, const MatchState& after, StepCues& cues) {
    const RoundState& was = before.round;
    const RoundState& is = after.round;
    if (roundStep(before, after, 1)) {
        if (finalRound(after.rules, is))
            cues.add(SoundCue::FinalRound, SoundCue::middle);
        else if (is.round <= 9)
            cues.add(static_cast<SoundCue::Sound>(SoundCue::Round1 + is.round - 1),
                     SoundCue::middle);
    }
    if (roundStep(before, after, 1 + fightCallDelaySteps))
        cues.add(SoundCue::Fight, SoundCue::middle);
    if (was.phase == RoundState::Fighting && is.phase == RoundState::RoundOver)
        cues.add(is.ending == RoundState::TimeOut ? SoundCue::CallTime : SoundCue::CallKnockOut,
                 SoundCue::middle);
    if (was.phase != RoundState::MatchOver && is.phase == RoundState::MatchOver)
        cues.add(is.winner == 0   ? SoundCue::Player1Wins
                 : is.winner == 1 ? SoundCue::Player2Wins
                                  : SoundCue::Draw,
                 SoundCue::middle);
}

} // namespace

StepCues detectCues(const MatchState& before, const MatchState& after) {
    StepCues cues;
    fighterCues(before, after, 0, cues);
    fighterCues(before, after, 1, cues);
    if (after.rules.versus)
        announcerCues(before, after, cues);
    return cues;
}
