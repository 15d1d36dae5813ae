#pragma once

// An online match's connection as the timing overlay shows it, as the drivers count it: the
// round trip, the input delay, the rollbacks of the last second and the deepest of them, the
// share of packets the link lost and the spectators watching. A spectator has no input delay,
// no rollbacks and no spectators of its own.
struct ConnectionFigures {
    int roundTripMs = 0;
    int inputDelay = 0;
    int rollbacksPerSecond = 0;
    int deepestRollback = 0;
    double packetLossPercent = 0;
    int spectators = 0;
    // Only the players' side has an input delay, rollbacks and spectators.
    bool player = true;
};
