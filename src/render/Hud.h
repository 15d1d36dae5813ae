#pragma once

#include <memory>

#include "render/HealthDisplay.h"
#include "render/InputDataDisplay.h"
#include "render/RoundDisplay.h"

namespace Ogre {
class Overlay;
}

// The head-up display: both players' health readouts and input panels on one overlay, and the
// texts of a versus match (empty in any other) on a second one above it.
// Owned by the Game, which creates it before the fighters; it owns the four displays, and its
// destructor removes the overlay and its elements so a new match can build them again.
class Hud {
public:
    Hud();
    ~Hud();

    Hud(const Hud&) = delete;
    Hud& operator=(const Hud&) = delete;

    // player 0 is the first player, player 1 the second.
    InputDataDisplay* getInputDataDisplay(int player);
    HealthDisplay* getHealthDisplay(int player);
    RoundDisplay* getRoundDisplay() { return roundDisplay.get(); }

    // Takes the readouts off the screen for good, as behind the menus, where the fighters
    // stand only as a backdrop.
    void hide();
    // The texts of a versus match (the round clock, the round's and the match's words) on or
    // off the screen: off under a menu, which says what matters there.
    void showCaptions(bool shown);

private:
    void createRoundDisplay();

    Ogre::Overlay* overlay = nullptr;
    Ogre::Overlay* roundOverlay = nullptr;
    std::unique_ptr<RoundDisplay> roundDisplay;
    std::unique_ptr<InputDataDisplay> inputDataDisplay1;
    std::unique_ptr<InputDataDisplay> inputDataDisplay2;
    std::unique_ptr<HealthDisplay> healthDisplay1;
    std::unique_ptr<HealthDisplay> healthDisplay2;
};
