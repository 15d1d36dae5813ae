#pragma once

// How many messages one connection may send: a bucket of `burst` that fills at `perSecond`;
// a message when it is empty is one too many. Owned by the lobby's record of the connection.
class FloodGate {
public:
    FloodGate(double perSecond, double burst) : perSecond(perSecond), burst(burst), level(burst) {}

    // One message at `now` (seconds): false when it is one too many.
    bool pass(double now);

private:
    double perSecond;
    double burst;
    double level;
    double last = 0;
    bool started = false;
};
