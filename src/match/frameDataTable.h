#pragma once

#include <string>
#include <utility>
#include <vector>

#include "match/MoveFrameData.h"

class Game;
struct MatchRules;

// The frame data of named moves as the table --frame-data prints, with a line on how it was
// measured and each multi-window move's active steps beneath.
std::string frameDataTable(const std::vector<std::pair<std::string, MoveFrameData>>& moves);

// Measures the first fighter's punch and special move against the second and returns their table,
// followed by each move's advantage on block under the latest versus rules.
std::string measureFrameData(Game& game);
// The first fighter's moves by name, measured under these rules.
std::vector<std::pair<std::string, MoveFrameData>> measureMoves(Game& game,
                                                                const MatchRules& rules);
