#pragma once

#include <string>

namespace Ogre {
class TextAreaOverlayElement;
}

// The HUD's texts of a versus match: the round clock at the top centre, each player's round wins
// under its health, a banner across the middle with a line beneath it, and above each player's
// health the combo it deals. Owned by the Hud; the Match hands it the captions after every step
// it shows. A caption is set only when it changes, and all are empty outside a versus match. An
// empty one is hidden: it would draw nothing, yet drawing it loads its font, which the first
// picture of a match outside versus can do without.
class RoundDisplay {
public:
    struct Captions {
        std::string timer;
        std::string wins[2];
        std::string banner;
        std::string detail;
        std::string combos[2];
    };
    static constexpr int captionCount = 7;

    // The text areas in the order of the captions.
    explicit RoundDisplay(Ogre::TextAreaOverlayElement* const (&areas)[captionCount]);

    void show(const Captions& captions);

private:
    Ogre::TextAreaOverlayElement* areas[captionCount];
    Captions current;
};
