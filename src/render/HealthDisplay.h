#pragma once

namespace Ogre {
class TextAreaOverlayElement;
}

// One fighter's health as a number on the HUD. Owned by the Hud; the fighter's DisplayEntity
// feeds it every logic step, and the caption is set only when the number changes.
class HealthDisplay {
public:
    explicit HealthDisplay(Ogre::TextAreaOverlayElement* textArea);

    void setHealth(int health);

private:
    Ogre::TextAreaOverlayElement* textArea;
    bool shown = false;
    int shownHealth = 0;
};
