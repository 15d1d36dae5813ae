#pragma once

#include <array>
#include <string>

#include "roster/Roster.h"

// What the player has chosen in the menus so far: the mode, the computer's level, side and
// fighter, both fighters and the stage, the online addresses typed and the replay picked. Kept
// by the FrontDoor from one run of the menus to the next, so a screen shown again shows the
// choice made last; the screens fill it in, the FrontDoor makes a match's options of it.
struct MenuSession {
    enum class Mode { Versus, Computer, Training, Host, Join, Watch, Replay, ReplayLab };

    Mode mode = Mode::Versus;
    // 1 to 8, as --cpu.
    int cpuLevel = 4;
    // The fighter the computer plays: 1 the left one, 2 the right one, as --cpu-player.
    int cpuPlayer = 2;
    // The computer's fighter by name, or empty for one drawn at random when the match starts.
    std::string cpuFighter;
    std::array<std::string, 2> fighters = {Roster::defaultFighter, Roster::defaultFighter};
    std::string stage = Roster::defaultStage;
    std::string hostPort = "7717";
    std::string joinAddress;
    std::string watchAddress;
    std::string replayPath;

    bool againstComputer() const { return mode == Mode::Computer; }
    bool online() const { return mode == Mode::Host || mode == Mode::Join || mode == Mode::Watch; }
    bool replay() const { return mode == Mode::Replay || mode == Mode::ReplayLab; }
};
