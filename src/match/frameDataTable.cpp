#include "match/frameDataTable.h"

#include <iomanip>
#include <sstream>

#include "anim/CharacterData.h"
#include "fighter/Player.h"
#include "match/Game.h"

#include "match/FairRules.h"
#include "match/FrameDataProbe.h"

namespace {

template <typename Field>
std::string listOf(const std::vector<MoveFrameData::Hit>& hits, Field field) {
    std::string list;
    for (const MoveFrameData::Hit& hit : hits)
        list += (list.empty() ? "" : " ") + std::to_string(hit.*field);
    return list.empty() ? "-" : list;
}

std::string signedOf(int value) {
    return (value > 0 ? "+" : "") + std::to_string(value);
}

std::string firstAndLast(const std::vector<MoveFrameData::Hit>& hits) {
    if (hits.empty())
        return "-";
    return signedOf(hits.front().advantage) + " / " + signedOf(hits.back().advantage);
}

std::string windowsOf(const MoveFrameData& data) {
    std::string list;
    for (const auto& [first, last] : data.activeWindows)
        list += (list.empty() ? "" : ", ") + std::to_string(first) + "-" + std::to_string(last);
    return list;
}

} // namespace

std::string frameDataTable(const std::vector<std::pair<std::string, MoveFrameData>>& moves) {
    std::ostringstream table;
    table << "Frame data in logic steps of 1/60 s, measured on the game's rules: the press is "
             "step 1,\nthe fighters stand "
          << FrameDataProbe::distance
          << " apart, and advantage is positive when the attacker can act first.\n\n";
    table << std::left << std::setw(15) << "move" << std::right << std::setw(8) << "startup"
          << std::setw(8) << "active" << std::setw(10) << "recovery" << std::setw(7) << "total"
          << std::setw(6) << "hits"
          << "  " << std::left << std::setw(10) << "damage" << std::setw(10) << "hit stun"
          << std::setw(12) << "block stun" << std::setw(21) << "on hit first/last"
          << "on block first/last\n";
    for (const auto& [name, data] : moves)
        table << std::left << std::setw(15) << name << std::right << std::setw(8) << data.startup
              << std::setw(8) << data.active << std::setw(10) << data.recovery << std::setw(7)
              << data.total << std::setw(6) << data.onHit.size() << "  " << std::left
              << std::setw(10) << listOf(data.onHit, &MoveFrameData::Hit::damage) << std::setw(10)
              << listOf(data.onHit, &MoveFrameData::Hit::stun) << std::setw(12)
              << listOf(data.onBlock, &MoveFrameData::Hit::stun) << std::setw(21)
              << firstAndLast(data.onHit) << firstAndLast(data.onBlock) << "\n";
    for (const auto& [name, data] : moves)
        if (data.activeWindows.size() > 1)
            table << "\n"
                  << name << ": active on steps " << windowsOf(data) << "; hits land on "
                  << listOf(data.onHit, &MoveFrameData::Hit::step) << "\n";
    return table.str();
}

std::vector<std::pair<std::string, MoveFrameData>> measureMoves(Game& game,
                                                                const MatchRules& rules) {
    FrameDataProbe probe(game, rules);
    return {{"punch", probe.measure(PlayerState::HP)},
            {game.player1->character->specialName, probe.measure(PlayerState::Tatsu)}};
}

// The versus rules change what a blocked move leaves; the rest of the table stays as it is.
std::string measureFrameData(Game& game) {
    MatchRules versus;
    versus.versus = true;
    std::ostringstream table;
    table << frameDataTable(measureMoves(game, MatchRules()));
    table << "\nUnder the versus rules (version " << versus.version
          << "), where a blocked attack leaves its attacker\nat least "
          << FairRules::blockedBehindSteps << " steps behind the blocker:\n\n";
    table << std::left << std::setw(17) << "move"
          << "on block first/last\n";
    for (const auto& [name, data] : measureMoves(game, versus))
        table << std::left << std::setw(17) << name << firstAndLast(data.onBlock) << "\n";
    return table.str();
}
