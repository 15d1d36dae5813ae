#pragma once

#include <memory>

#include "anim/CharacterData.h"
#include "match/Game.h"
#include "roster/Roster.h"

// The source tree's roster (VORRAK_MEDIA), for tests and benchmarks that play the rules.
inline const Roster& testRoster() {
    static const Roster roster(VORRAK_MEDIA);
    return roster;
}

// The game's default fighter, read from its file once per program.
inline std::shared_ptr<const CharacterData> defaultFighter() {
    static const std::shared_ptr<const CharacterData> fighter =
        testRoster().loadFighter(Roster::defaultFighter);
    return fighter;
}

// The default fighter on both sides on the default stage, by name and fingerprint, as a
// recording of a match started without options names them.
inline Lineup defaultLineup() {
    Lineup lineup;
    lineup.fighters[0] =
        lineup.fighters[1] = {Roster::defaultFighter, defaultFighter()->fingerprint};
    lineup.stage = {Roster::defaultStage, testRoster().loadStage(Roster::defaultStage).fingerprint};
    return lineup;
}

// Both sides played by the default fighter, as a match started without options.
inline std::unique_ptr<Game> testGame() {
    return std::make_unique<Game>(defaultFighter(), defaultFighter());
}
