#pragma once

#include "input/InputFrame.h"
#include "input/InputPanelState.h"

// What one player's input panel holds, kept up to date: a row per change of stick direction or
// button press, newest first, each with the count of frames seen since the panel was shown.
// Part of the match (F1 and F2 switch it, the checksum covers it); the HUD's InputDataDisplay
// draws it. Owned by the Game; fed by the player's InputHistory on every push.
class InputPanel {
public:
    static constexpr int maxRows = InputPanelState::maxRows;

    // Hiding empties the panel and restarts the count; showing starts collecting again.
    void setVisible(bool visible);
    void addFrame(InputFrame frame);

    InputPanelState panel;

private:
    void pushRow(const InputFrame& frame);
};
