#pragma once

// How one level of the computer player plays: how old the match it acts on is, how often and
// how far it looks ahead, against how many guesses of the other player, and how often it takes
// a worse option on purpose. A plain record; CpuLevel::of gives the game's eight levels.
struct CpuLevel {
    static constexpr int lowest = 1;
    static constexpr int highest = 8;

    int level = highest;
    // The state it acts on is this many steps old: a person's reaction time.
    int reactionSteps = 10;
    // Steps between two choices while nothing forces one sooner.
    int decisionSteps = 4;
    // Steps simulated for each option against each guess.
    int horizonSteps = 60;
    // How many of the guesses of the other player's behaviour it weighs (1 to 4).
    int guesses = 4;
    // How many of the options it considers, a beginner's first (1 to 9): levels 1 and 2 do
    // not know the spinning kick.
    int options = 9;
    // The chance in percent of taking a random option instead of the best one.
    int mistakePercent = 0;
    // How much the worst guess weighs against the average of them, in percent.
    int cautionPercent = 50;
    // Its presses come up to this many steps later than planned, as its seed has it.
    int delaySteps = 3;
    // From level 5 up it learns the other player (OpponentModel): the longest run of inputs it
    // tells apart (0: it learns nothing), and how much the likeliest course it foresees weighs
    // against its guesses when the model is sure, in percent.
    int modelOrder = 24;
    int modelWeightPercent = 90;

    static bool valid(int level) { return level >= lowest && level <= highest; }
    // Only for a valid level.
    static CpuLevel of(int level);
};
