#include "render/RoundDisplay.h"

#include <Overlay/OgreTextAreaOverlayElement.h>

RoundDisplay::RoundDisplay(Ogre::TextAreaOverlayElement* timer, Ogre::TextAreaOverlayElement* wins1,
                           Ogre::TextAreaOverlayElement* wins2, Ogre::TextAreaOverlayElement* banner,
                           Ogre::TextAreaOverlayElement* detail)
    : areas{timer, wins1, wins2, banner, detail} {
    for (Ogre::TextAreaOverlayElement* area : areas)
        area->hide();
}

void RoundDisplay::show(const Captions& captions) {
    const std::string* next[5] = {&captions.timer, &captions.wins[0], &captions.wins[1],
                                  &captions.banner, &captions.detail};
    std::string* shownNow[5] = {&current.timer, &current.wins[0], &current.wins[1],
                                &current.banner, &current.detail};
    for (int i = 0; i < 5; ++i) {
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
