#include "app/LogAppender.h"

#include <ctime>
#include <iomanip>

LogAppender::LogAppender(const std::string& path) : file(path, std::ios::app) {}

void LogAppender::messageLogged(const Ogre::String& message, Ogre::LogMessageLevel, bool,
                                const Ogre::String&, bool&) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    // Each line at once: a test or a player may be reading the log while the game runs.
    file << std::put_time(&local, "%H:%M:%S") << ": " << message << std::endl;
}
