#pragma once

#include <array>
#include <string>

#include "app/CpuSettings.h"
#include "input/Bindings.h"
#include "lobby/LobbyMessages.h"
#include "net/Rendezvous.h"
#include "export/ExportSettings.h"
#include "sound/SoundSettings.h"

// What the program was asked to do on its command line. With none of the options set it is the
// game of two players at one keyboard, exactly as always.
struct Options {
    // Record the match into this file.
    std::string recordPath;
    // Play this recorded match back instead of reading the keyboard.
    std::string replayPath;
    // Every step, go back this many steps and run them again, checking that the match agrees.
    int syncTestSteps = 0;
    // Print the moves' frame data and exit.
    bool frameData = false;
    // A match in rounds, with a round timer and walls; the first to win more than half of
    // `rounds` takes it.
    bool versus = false;
    int rounds = 3;
    // The lab: the local match (or the replay) under the training keys F4 to F11.
    bool training = false;
    // Render the replay into a video file instead of the window.
    ExportSettings exportSettings;

    // Online play: wait for the other player on port, or join the host joinHost on port.
    static constexpr int defaultPort = 7717;
    bool host = false;
    std::string joinHost;
    int port = defaultPort;
    // Steps between a local key and the match taking it.
    int inputDelay = 1;
    // --delay was given on the command line (a lobby's match otherwise takes the round trip's).
    bool inputDelaySet = false;
    // Seconds a guest tries to reach the host; seconds of silence that end a running match.
    int joinTimeout = 30;
    int silenceLimit = 5;
    // Watching the online match of the host watchHost on port, watchDelay seconds behind it;
    // the host takes up to `spectators` watchers.
    std::string watchHost;
    double watchDelay = 1;
    int spectators = 8;

    // Meeting the other player through a lobby (lobbyHost empty: no lobby): its address, this
    // player's name there and what to do; once paired, the host or guest fields above and the
    // way through the routers are filled in.
    enum class LobbyWay { Quick, Room, Code, List, Watch };
    std::string lobbyHost;
    int lobbyPort = lobby::defaultLobbyPort;
    std::string playerName;
    LobbyWay lobbyWay = LobbyWay::Quick;
    std::string roomCode;
    std::uint32_t watchMatch = 0;
    Rendezvous rendezvous;

    // The players' keys and controller buttons: from --bindings or the user's bindings file,
    // otherwise the game's own.
    Bindings bindings = Bindings::defaults();
    // Where the keys changed in the settings screen are written: the file --bindings named,
    // or the user's own; empty when no folder for it is known.
    std::string bindingsPath;

    // Open on the title screen: every mode from the menus, the options above the defaults.
    bool menu = false;
    // With --menu, what is wrong with the bindings file, whose keys are then the game's own
    // until the player changes keys: the title says it.
    std::string bindingsProblem;

    SoundSettings sound;

    // Pictures wait for the display's vertical sync, where it has one.
    bool vsync = true;

    // The computer opponent, and the arena of computer opponents.
    CpuSettings cpu;

    // The fighters of the left and right side, by the names players type.
    std::array<std::string, 2> fighters = {"sora", "sora"};
    // The stage, by the name players type.
    std::string stage = "dojo";
};
