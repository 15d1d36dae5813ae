#include "render/RoundDisplay.h"

#include <Overlay/OgreTextAreaOverlayElement.h>

RoundDisplay::RoundDisplay(Ogre::TextAreaOverlayElement* const (&areas)[captionCount]) {
    for (int i = 0; i < captionCount; ++i) {
        this->areas[i] = areas[i];
        areas[i]->hide();
    }
}

void RoundDisplay::show(const Captions& captions) {
    const std::string* next[captionCount] = {
        &captions.timer,  &captions.wins[0],   &captions.wins[1],  &captions.banner,
        &captions.detail, &captions.combos[0], &captions.combos[1]};
    std::string* shownNow[captionCount] = {&current.timer,    &current.wins[0], &current.wins[1],
                                           &current.banner,   &current.detail,  &current.combos[0],
                                           &current.combos[1]};
    for (int i = 0; i < captionCount; ++i) {
        if (*next[i] == *shownNow[i])
            continue;
        *shownNow[i] = *next[i];
        areas[i]->setCaption(*next[i]);
        if (next[i]->empty())
            areas[i]->hide();
        else
            areas[i]->show();
    }
}
