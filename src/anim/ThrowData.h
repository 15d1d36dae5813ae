#pragma once

// A fighter's throw, as its file describes it: on which step of the throw it grabs, how far it
// reaches (between the two fighters' positions), the damage and stun it deals when it ends,
// where it holds the thrown fighter meanwhile and where it lets go (both in the thrower's
// frame: x forward, a negative x behind it). Owned by the character data.
struct ThrowData {
    int grab = 1;
    float reach = 0;
    int damage = 0;
    int stun = 0;
    float holdX = 0;
    float holdY = 0;
    float releaseX = 0;
    // The button of its command, which the thrown fighter presses to escape: 0 or 1.
    int button = 0;
};
