#pragma once

#include <string>

#include "input/InputFrame.h"
#include "render/InputPanelState.h"

namespace Ogre {
class TextAreaOverlayElement;
}

// One player's input panel on the HUD: a row per change of stick direction or button press,
// newest on top, each with the count of frames seen since the panel was shown.
// Owned by the Hud; fed by the player's InputHistory on every push. While held, the panel keeps
// counting and collecting rows but leaves the screen alone until refresh().
class InputDataDisplay {
public:
    static constexpr int maxRows = InputPanelState::maxRows;

    explicit InputDataDisplay(Ogre::TextAreaOverlayElement* textArea);

    // Hiding empties the panel and restarts the count; showing starts collecting again.
    void setVisible(bool visible);
    void addFrame(InputFrame frame);

    void setHeld(bool held) { this->held = held; }
    // Brings the text area in line with the panel's state, whatever happened while held.
    void refresh();

    // The row text for a frame seen as the frameCount-th since the panel was shown.
    static std::string formatRow(const InputFrame& frame, int frameCount);

    InputPanelState panel;

private:
    void pushRow(const InputFrame& frame);
    void showCaption(std::string text);

    Ogre::TextAreaOverlayElement* textArea;
    // What the text area shows, kept so that a new row is put on top of it rather than every
    // row being formatted again, and an unchanged caption is not set again.
    std::string caption;
    bool held = false;
};
