#pragma once

// What a computer player did over a run, for the arena's table: how often it chose, and how it
// held its controls (the human feel: no direction held for fewer than 4 steps outside the motion
// and blocking, at most 5 presses a second, no rhythm of presses kept up like a machine's). A
// plain record kept by FeelMeter.
struct CpuStats {
    long long steps = 0;
    long long decisions = 0;
    // Match steps run in its search, in all and at most within one step: its budget, which
    // is the same on any machine.
    long long simulatedSteps = 0;
    int mostSimulatedInAStep = 0;
    long long presses = 0;
    long long directionChanges = 0;
    // Changes after a direction held fewer than minHoldSteps, outside the motion and blocking.
    long long shortHolds = 0;
    // The most presses in any 60 steps.
    int mostPressesPerSecond = 0;
    // The longest run of presses each the same number of steps after the one before.
    int longestSameGapRun = 0;
};
