#pragma once

#include <cstddef>
#include <string>

// A line of text broken into lines of at most columns characters of a monospaced font: at
// spaces where it can, inside a word longer than a line (a long file name) where it cannot. At
// most maxLines lines; when the text goes on beyond them, the last one ends in "...".
std::string wrapText(const std::string& text, std::size_t columns, std::size_t maxLines);
