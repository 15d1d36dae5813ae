#pragma once

#include <fstream>
#include <string>

#include <OgreLog.h>

// Writes the engine's log lines at the end of the log file an earlier run of the same session
// began, stamped as the engine stamps its own: the engine's log always starts its file afresh,
// and the menus' session runs the engine anew for each match. Owned by the Application,
// beside the log it listens to.
class LogAppender : public Ogre::LogListener {
public:
    explicit LogAppender(const std::string& path);

    void messageLogged(const Ogre::String& message, Ogre::LogMessageLevel level, bool maskDebug,
                       const Ogre::String& logName, bool& skipThisMessage) override;

private:
    std::ofstream file;
};
