#include "frontdoor/MenuScreens.h"

namespace {

std::vector<std::string> namesOf(const std::vector<RosterEntry>& entries) {
    std::vector<std::string> names;
    for (const RosterEntry& entry : entries)
        names.push_back(entry.name);
    return names;
}

} // namespace

MenuScreens::MenuScreens(const std::vector<RosterEntry>& fighters,
                         const std::vector<RosterEntry>& stages, KeptSettings& kept,
                         std::string replaysFolder, const std::string& media)
    : kept(kept), fighters(fighters), computer(namesOf(fighters)), online(namesOf(fighters), namesOf(stages)),
      select(fighters, stages),
      replays(std::move(replaysFolder)), settings(kept), keys1(kept, 0), keys2(kept, 1),
      moves(media) {}
