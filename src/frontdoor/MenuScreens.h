#pragma once

#include <vector>

#include "frontdoor/ComputerScreen.h"
#include "frontdoor/KeysScreen.h"
#include "frontdoor/MovesScreen.h"
#include "frontdoor/OnlineScreen.h"
#include "frontdoor/ReplaysScreen.h"
#include "frontdoor/RosterEntry.h"
#include "frontdoor/SelectScreen.h"
#include "frontdoor/SettingsScreen.h"
#include "frontdoor/TitleScreen.h"

class KeptSettings;

// Every screen of the menus between matches, kept by the FrontDoor for the whole session so
// that each shows again as it was left. The MenuRun shows them.
struct MenuScreens {
    MenuScreens(const std::vector<RosterEntry>& fighters, const std::vector<RosterEntry>& stages,
                KeptSettings& kept, std::string replaysFolder, const std::string& media);

    // The kept settings and keys, which the screens show and change.
    KeptSettings& kept;
    // The roster as the menus offer it.
    std::vector<RosterEntry> fighters;
    TitleScreen title;
    ComputerScreen computer;
    OnlineScreen online;
    SelectScreen select;
    ReplaysScreen replays;
    SettingsScreen settings;
    KeysScreen keys1;
    KeysScreen keys2;
    MovesScreen moves;
};
