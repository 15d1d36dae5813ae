#pragma once

#include <string>

// How a recorded match was played, as its file's header says and the replay list shows it.
// Filled by whoever starts the recording (each of the game's modes, a menu) and handed to the
// ReplayRecorder with the match's rules, which say the rest (versus or the open fight, rounds).
struct ReplayMode {
    enum Kind : int {
        // Two players at one machine, without or with the versus rules.
        OpenFight = 0,
        Versus = 1,
        // A player against the computer, which played the side cpuSide at cpuLevel.
        Computer = 2,
        // Two players online; both sides' recordings say so.
        Online = 3,
        // A spectator's recording of an online match.
        Watched = 4,
    };
    static constexpr int kindCount = 5;

    Kind kind = OpenFight;
    // Against the computer: its level (1 to 8) and its side (0 left, 1 right); 0 otherwise.
    int cpuLevel = 0;
    int cpuSide = 0;

    // What a file may say.
    bool valid() const {
        if (kind < 0 || kind >= kindCount)
            return false;
        if (kind != Computer)
            return cpuLevel == 0 && cpuSide == 0;
        return cpuLevel >= 1 && cpuLevel <= 8 && (cpuSide == 0 || cpuSide == 1);
    }

    // "open fight", "versus", "against the computer (level 5, right)", "online", "watched".
    std::string describe() const {
        switch (kind) {
        case OpenFight:
            return "open fight";
        case Versus:
            return "versus";
        case Computer:
            return "against the computer (level " + std::to_string(cpuLevel) + ", " +
                   (cpuSide == 0 ? "left" : "right") + ")";
        case Online:
            return "online";
        case Watched:
            return "watched";
        }
        return "";
    }

    bool operator==(const ReplayMode& other) const {
        return kind == other.kind && cpuLevel == other.cpuLevel && cpuSide == other.cpuSide;
    }
};
