#pragma once

// The program's own keys as one logic step sees them: down, or pressed since the step before.
struct ProgramKeys {
    // Escape: the match runs this step without the players' input, then the program ends.
    bool quit = false;
    // F1, F2, F3: settings, not toggles, applied in this order.
    bool hideDebugDisplays = false;
    bool showInputPanels = false;
    bool showHitboxes = false;
};
