#pragma once

#include <optional>

#include "net/ConnectionFigures.h"

class MatchDriver;

// One mode of the program as the session runs it: the menus over their idle match, a local
// match, the lab, a replay, online play or watching. A scene holds what it loaded (its fighters,
// its stage, its match and the match's view) and gives it back when destroyed; the engine, the
// window and the devices stay with the session. Made by the program's entry (the Application)
// or by the front door, run by the Session.
class Scene {
public:
    virtual ~Scene() = default;

    // What the frame updater steps once per tick while the scene is shown.
    virtual MatchDriver& driver() = 0;
    // The scene is over (its driver ended, the window closed, a signal): the driver settles
    // with whoever shares the match, the match is logged and its recording completed. Throws
    // what failed; called once, before the scene is destroyed.
    virtual void end() = 0;
    // The connection as the timing overlay shows it, for online play.
    virtual std::optional<ConnectionFigures> connection() const { return std::nullopt; }
};
