#include "sound/cueDetection.h"

#include "match/MatchState.h"
#include "match/Rounds.h"

namespace {

// A stun that is not the old one counted down was given in this step: a hit or a block landed.
// The wait a blocked attack leaves its attacker with is no hit.
bool stunGiven(const PlayerState& before, const PlayerState& after) {
    const bool stunned = after.action == PlayerState::Hit || after.action == PlayerState::Block;
    return stunned && after.stunFrames > 0 && after.stunFrames != before.stunFrames - 1;
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

// The round's clock ran its k-th step in this step: each happens once a round.
bool roundStep(const MatchState& before, const MatchState& after, int k) {
    return after.round.phase == RoundState::Fighting && after.round.timer + 1 == before.round.timer &&
           after.round.timer == after.rules.roundSteps - k;
}

// Where the round is announced, the calls go with the words on screen: the round's as its
// number shows, "Fight" as that word does; otherwise they come over the first steps of the clock.
bool roundCalled(const MatchState& before, const MatchState& after) {
    if (after.rules.playsOpenings())
        return after.round.phase == RoundState::Announcing && after.round.shownSteps == 1;
    return roundStep(before, after, 1);
}

bool fightCalled(const MatchState& before, const MatchState& after) {
    if (after.rules.playsOpenings())
        return after.round.phase == RoundState::Announcing &&
               after.round.shownSteps == Rounds::fightShownAt;
    return roundStep(before, after, 1 + fightCallDelaySteps);
}

void announcerCues(const MatchState& before, const MatchState& after, StepCues& cues) {
    const RoundState& was = before.round;
    const RoundState& is = after.round;
    if (roundCalled(before, after)) {
        if (Rounds::finalRound(after.rules, is))
            cues.add(SoundCue::FinalRound, SoundCue::middle);
        else if (is.round <= 9)
            cues.add(static_cast<SoundCue::Sound>(SoundCue::Round1 + is.round - 1),
                     SoundCue::middle);
    }
    if (fightCalled(before, after))
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
