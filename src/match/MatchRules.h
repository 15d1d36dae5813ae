#pragma once

// The rules a match is played by, chosen on the command line. They are part of the match state,
// so a rollback, a replay and both sides of online play all play by the same ones. Without
// versus the match is the open-ended fight: no rounds, no timer, no walls.
struct MatchRules {
    static constexpr int defaultRounds = 3;
    // 99 seconds.
    static constexpr int defaultRoundSteps = 99 * 60;
    // The longest round a replay or the other side of online play may ask for: an hour.
    static constexpr int maxRoundSteps = 60 * 60 * 60;

    // The versus rules' versions. 1: as first played, which recordings made before the version
    // was recorded play by. 2: fair fights: combos end, blocked hits push the blocker back and
    // blocked special moves take a little health, the rounds start mirrored about the stage's
    // centre, no side is favoured and nothing lands once a round has ended. A new match plays
    // the latest; a match without versus plays the same whatever its version. 3: no attack is
    // safe to repeat: a blocked attack leaves its attacker open, a motion's button press spends
    // the motion, and each round is announced before its clock starts.
    static constexpr int firstVersion = 1;
    static constexpr int fairVersion = 2;
    static constexpr int openingsVersion = 3;
    static constexpr int latestVersion = openingsVersion;

    // Rounds, a round timer, walls and bodies that push each other.
    bool versus = false;
    // The first to win more than half of them takes the match.
    int rounds = defaultRounds;
    int roundSteps = defaultRoundSteps;
    int version = latestVersion;

    int winsNeeded() const { return rounds / 2 + 1; }
    // A versus match under the rules of fair fights.
    bool playsFair() const { return versus && version >= fairVersion; }
    // A versus match under the rules where every blocked attack leaves an opening.
    bool playsOpenings() const { return versus && version >= openingsVersion; }

    static bool validRounds(int rounds) { return rounds >= 1 && rounds <= 9 && rounds % 2 == 1; }
    // What may be read from a file or the network.
    bool valid() const {
        return validRounds(rounds) && roundSteps >= 1 && roundSteps <= maxRoundSteps &&
               version >= firstVersion && version <= latestVersion;
    }

    bool operator==(const MatchRules& other) const {
        return versus == other.versus && rounds == other.rounds && roundSteps == other.roundSteps &&
               version == other.version;
    }
    bool operator!=(const MatchRules& other) const { return !(*this == other); }
};
