#pragma once

#include <string>

#include <Overlay/OgreUTFString.h>

#include "input/InputFrame.h"
#include "input/InputPanelState.h"

namespace Ogre {
class TextAreaOverlayElement;
}

// One player's input panel on the HUD: draws what the match's InputPanel holds, a row per
// change of stick direction or button press, newest on top, each with the count of frames seen
// since the panel was shown. Owned by the Hud; the MatchView shows it the panel's state before
// each picture.
class InputDataDisplay {
public:
    static constexpr int maxRows = InputPanelState::maxRows;

    explicit InputDataDisplay(Ogre::TextAreaOverlayElement* textArea);

    // Brings the text area in line with the panel; a panel that only gained a row on top costs
    // that row's text, an unchanged one nothing.
    void show(const InputPanelState& panel);

    // The row text for a frame seen as the frameCount-th since the panel was shown.
    static std::string formatRow(const InputFrame& frame, int frameCount);

private:
    void showRows(const InputPanelState& panel);
    // The panel is the shown one with one row pushed on top.
    bool onePushed(const InputPanelState& panel) const;
    void pushRow(const InputPanelRow& row, bool full);
    void showCaption(std::string text);

    Ogre::TextAreaOverlayElement* textArea;
    // The rows and the visibility on screen.
    InputPanelState shown;
    bool visibleShown = false;
    // What the text area shows, kept so that a new row is put on top of it rather than every
    // row being formatted again, and an unchanged caption is not set again. The engine keeps
    // captions as UTF-16: the same text is kept in that form too, edited alongside, so a new
    // row costs the conversion of that row only. Every glyph is ASCII, so both have the same
    // indices.
    std::string caption;
    Ogre::UTFString shownCaption;
};
