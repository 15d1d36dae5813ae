#pragma once

#include <string>

// Where the running program finds its media and its modules, and where the
// engine's log goes. From the build folder everything is beside the program and the log is
// written to the working directory, as it always was. Installed (cmake --install, the Debian
// package) the program is in bin/, its media in share/vorrak/ and its modules
// in lib/<architecture>/vorrak/, all found from the program's own place (an installed tree may
// be moved), and the log goes to $XDG_STATE_HOME/vorrak/ (~/.local/state/vorrak/).
struct GameFiles {
    // Holds "media".
    std::string resources;
    // Holds vorrak-export.so and vorrak-devices.so.
    std::string modules;
    std::string log = "Ogre.log";
    // Why the installed program's log could not go to its folder, and so stays in the
    // working directory; empty when it could.
    std::string logProblem;

    // Everything in folder, the log in the working directory.
    static GameFiles beside(const std::string& folder);
    // Beside the program when its media is there, else installed, the
    // log's folder made.
    static GameFiles find(const std::string& programFolder);
};
