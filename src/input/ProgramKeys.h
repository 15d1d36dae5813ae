#pragma once

// The program's own keys as one logic step sees them: down, or pressed since the step before.
struct ProgramKeys {
    // Escape: the match runs this step without the players' input, then the program ends.
    bool quit = false;
    // F1, F2, F3: settings, not toggles, applied in this order.
    bool hideDebugDisplays = false;
    bool showInputPanels = false;
    bool showHitboxes = false;
    // F4 to F11: the training mode's keys (frame meter, pause, step, step back, reset, record
    // and play the dummy, take over a replay). The match and the other modes never look at them.
    bool frameMeter = false;
    bool pause = false;
    bool stepForward = false;
    bool stepBack = false;
    bool reset = false;
    bool recordDummy = false;
    bool playDummy = false;
    bool takeOver = false;
    // F12: shows and hides the timing overlay, in every mode. It only presents: no driver, no
    // recording and no match looks at it.
    bool timingOverlay = false;
};
