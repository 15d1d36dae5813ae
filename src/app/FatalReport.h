#pragma once

#include <string>

// The one form of the game's fatal-error report: the title line "An exception has occurred!"
// and the error's text on stderr, and the text in the engine log when the log exists.
// Used by the entry point and by the handlers that cannot return (X errors).
class FatalReport {
public:
    static void print(const std::string& text);

    // For handlers that must not return: prints the report, unless one was printed already (a
    // display lost while an error ends the game is the same failure), finishes every recording
    // still open, and ends the process at once with status 1, without running exit handlers
    // that could touch a broken display again.
    [[noreturn]] static void printAndExit(const std::string& text);
};
