#pragma once

// Replaces Xlib's default handlers, which print Xlib's own text and exit, by ones that end the
// game with its fatal-error report and status 1, any recording finished first: a protocol
// error (a window destroyed under the game, a request the server refused) and the loss of the
// connection (the server died, or it killed this client). Both cover every connection of the
// process, the engine's and the input library's too. Installed once by the entry point.
class XErrorHandlers {
public:
    static void install();
};
