#include "render/HealthDisplay.h"

#include <OgreStringConverter.h>
#include <Overlay/OgreTextAreaOverlayElement.h>

HealthDisplay::HealthDisplay(Ogre::TextAreaOverlayElement* textArea) : textArea(textArea) {}

void HealthDisplay::setHealth(int health) {
    if (shown && health == shownHealth)
        return;
    shown = true;
    shownHealth = health;
    textArea->setCaption(Ogre::StringConverter::toString(health));
}
