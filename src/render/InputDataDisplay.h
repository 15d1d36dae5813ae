#pragma once

#include <deque>
#include <string>

#include "input/InputFrame.h"

namespace Ogre {
class TextAreaOverlayElement;
}

// One player's input panel on the HUD: a row per change of stick direction or button press,
// newest on top, each with the count of frames seen since the panel was shown.
// Owned by the Hud; fed by the player's InputHistory on every push.
class InputDataDisplay {
public:
    static constexpr std::size_t maxRows = 15;

    explicit InputDataDisplay(Ogre::TextAreaOverlayElement* textArea);

    // Hiding empties the panel and restarts the count; showing starts collecting again.
    void setVisible(bool visible);
    void addFrame(InputFrame frame);

    // The row text for a frame seen as the frameCount-th since the panel was shown.
    static std::string formatRow(const InputFrame& frame, int frameCount);

    InputFrame lastFrame;
    std::deque<std::string> rows;
    int visibleFrameCount = 0;

private:
    void updateCaption();

    Ogre::TextAreaOverlayElement* textArea;
    bool visible = false;
};
