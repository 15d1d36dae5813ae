#pragma once

#include <array>
#include <memory>

#include "fighter/ProjectileState.h"
#include "fighter/ThrowState.h"
#include "input/InputPanel.h"
#include "match/Stage.h"

class CharacterData;
class Player;

// The two fighters of a match with their character data and their input panels: everything the
// match's rules play on, and nothing of the engine. "Player1" (fighters[0]) starts on the left
// with the first input panel, "Player2" on the right with the second; both start with the debug
// displays off. Whoever runs the match owns it (the Application, a test, the arena); the
// MatchView draws it. Its three switches for the debug displays are settings, not toggles, so a
// key held for many steps acts as one press.
class Game {
public:
    // The same data may play both sides.
    Game(std::shared_ptr<const CharacterData> first, std::shared_ptr<const CharacterData> second);
    ~Game();

    Game(const Game&) = delete;
    Game& operator=(const Game&) = delete;

    // Another fighter on a side before the match starts, fresh at its start: online play learns
    // the other player's choice once the match exists.
    void cast(int side, std::shared_ptr<const CharacterData> data);

    void hideDebugDisplays();
    void showInputPanels();
    void showHitboxes();

    Player& fighter(int side) { return side == 0 ? *player1 : *player2; }
    const Player& fighter(int side) const { return side == 0 ? *player1 : *player2; }

    // Where the walls of a versus match stand: x = -walls and +walls, half the stage's width.
    float walls = Stage::halfWidth;
    // Each fighter's projectile and the throw under way: only fighters whose files have such
    // moves ever set them.
    std::array<ProjectileState, 2> projectiles{};
    ThrowState grab;

    // Declared in order of creation, so they are destroyed in reverse.
    std::array<std::shared_ptr<const CharacterData>, 2> characters;
    std::array<InputPanel, 2> panels;
    std::unique_ptr<Player> player1;
    std::unique_ptr<Player> player2;
};
