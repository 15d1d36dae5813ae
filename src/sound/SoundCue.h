#pragma once

#include <cstdint>

// One sound the match calls for in one step, as a plain value: which sound and from where.
// The same sound from the same place within a few steps is the same cue (see CuePlayer).
struct SoundCue {
    enum Sound : std::uint8_t {
        Whoosh,
        SpinWhoosh,
        Hit,
        HeavyHit,
        Block,
        KnockOut,
        // The announcer of a versus match.
        Round1,
        Round9 = Round1 + 8,
        FinalRound,
        Fight,
        CallKnockOut,
        CallTime,
        Player1Wins,
        Player2Wins,
        Draw,
        soundCount
    };
    // The announcer, heard from the middle.
    static constexpr int middle = -1;

    Sound sound = Whoosh;
    // The fighter it comes from (0 the first), heard on its side, or middle.
    int side = middle;

    bool operator==(const SoundCue& other) const {
        return sound == other.sound && side == other.side;
    }
    bool operator!=(const SoundCue& other) const { return !(*this == other); }

    // The sound's file in media/sounds, without ".wav"; also its name in the cue log.
    static const char* name(Sound sound);
};
