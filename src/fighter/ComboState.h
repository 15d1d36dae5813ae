#pragma once

// The combo a fighter is taking, or took less than a second ago: the hits that landed on it with
// no step between them on which it was free to act, and the health they took. A plain value in
// the fighter's state, counted by the match tick under the versus rules of fair fights only (all
// zero in any other match); the HUD shows it.
struct ComboState {
    int hits = 0;
    int damage = 0;
    // Steps since the fighter was free to act again; 0 while the combo runs.
    int stepsSinceEnd = 0;
};
