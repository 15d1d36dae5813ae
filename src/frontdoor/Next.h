#pragma once

// Where the front door goes when a run of the menus or of a match ends: the program ends, the
// menus open on the title, fighter select or the replays, the same match starts again, or the
// match the menus chose starts.
enum class Next { Quit, Title, Select, Replays, Rematch, Play };
