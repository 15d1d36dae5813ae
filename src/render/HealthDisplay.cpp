#include "render/HealthDisplay.h"

#include <algorithm>

#include <OgreStringConverter.h>
#include <Overlay/OgreTextAreaOverlayElement.h>

HealthDisplay::HealthDisplay(Ogre::TextAreaOverlayElement* textArea) : textArea(textArea) {}

// A blow that takes more than is left shows 0, not a debt.
void HealthDisplay::setHealth(int health) {
    health = std::max(health, 0);
    if (shown && health == shownHealth)
        return;
    shown = true;
    shownHealth = health;
    textArea->setCaption(Ogre::StringConverter::toString(health));
}
