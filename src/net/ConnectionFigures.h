#pragma once

// An online match's connection as the timing overlay shows it, as the drivers count it: the
// round trip, the input delay, the rollbacks of the last second and the deepest of them, the
// other side's input packets lost on the way (and their share of all it sent) and the
// spectators watching. A spectator's connection is its round trip alone.
struct ConnectionFigures {
    int roundTripMs = 0;
    int inputDelay = 0;
    int rollbacksPerSecond = 0;
    int deepestRollback = 0;
    int packetsLost = 0;
    double packetLossPercent = 0;
    int spectators = 0;
    // A player's, rather than a spectator's.
    bool player = true;
};
