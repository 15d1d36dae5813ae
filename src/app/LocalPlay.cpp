#include "app/LocalPlay.h"

#include "match/Match.h"

bool LocalPlay::step(const StepInput& keyboard) { return match.step(keyboard); }
