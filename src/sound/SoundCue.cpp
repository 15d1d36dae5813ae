#include "sound/SoundCue.h"

namespace {

const char* const names[SoundCue::soundCount] = {
    "whoosh",      "spin-whoosh", "hit",          "heavy-hit",     "block",         "knockout",
    "round-1",     "round-2",     "round-3",      "round-4",       "round-5",       "round-6",
    "round-7",     "round-8",     "round-9",      "final-round",   "fight",         "ko",
    "time",        "player-1-wins", "player-2-wins", "draw"};

} // namespace

const char* SoundCue::name(Sound sound) { return names[sound]; }
