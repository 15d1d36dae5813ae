#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>

class CharacterData;
class ComputerPlayer;
class Match;

// Versus matches between two computer opponents on the rules alone: no window, no engine,
// nothing drawn, so it runs where there is no display. Sides swap every other match, and every
// match gets seeds of its own, derived from the arena's. Prints a line per match, then a table
// per opponent (results, health left, the CPU time of its decisions and steps, how it held its
// controls) and the closing line "arena: A won W, B won L, draws D of N matches"; two opponents
// of one name are told apart by side ("8 (left)", "8 (right)"), so the table and the closing
// line show what the side is worth, unless they play fighters of their own, which name them
// ("8 sora", "8 brann"). Created and run by the entry point.
class Arena {
public:
    struct Settings {
        // See validOpponent.
        std::string a;
        std::string b;
        int matches = 100;
        int rounds = 3;
        std::uint64_t seed = 1;
        // The fighters a and b play, whichever side they are on.
        std::shared_ptr<const CharacterData> fighterOfA;
        std::shared_ptr<const CharacterData> fighterOfB;
        // Half the stage's width.
        float walls = 164;
    };

    // A level from 1 to 8, a reference: "script" (ScriptedPlayer), "loop" (LoopPlayer),
    // "blocker" (BlockerPlayer) or a loop of referenceLoops (RotePlayer), or "hunt" beside a
    // level: then the arena runs the Hunt for loops that beat that level, the hunt playing the
    // fighter of its side.
    static bool validOpponent(const std::string& name);

    explicit Arena(Settings settings);
    ~Arena();

    void run(std::ostream& out);

private:
    void hunt(std::ostream& out);
    struct Side;
    static std::unique_ptr<ComputerPlayer> makePlayer(const std::string& name, Match& match,
                                                      int side, std::uint64_t seed);

    // A and B play fighters of their own: each is named with its fighter.
    bool twoFighters() const;
    // Two of one name on one fighter are told apart by side.
    bool recordedBySide() const;

    Settings settings;
    std::unique_ptr<Side> sides[2];
};
