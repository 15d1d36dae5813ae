#include "app/FatalReport.h"

#include <cstdio>
#include <cstdlib>

#include <OgreLogManager.h>

#include "replay/ReplayRecorder.h"

namespace {

bool printed = false;

} // namespace

void FatalReport::print(const std::string& text) {
    printed = true;
    std::fprintf(stderr, "An exception has occurred!\n%s\n", text.c_str());
    std::fflush(stderr);
    if (Ogre::LogManager* log = Ogre::LogManager::getSingletonPtr())
        log->logError(text);
}

void FatalReport::printAndExit(const std::string& text) {
    if (!printed)
        print(text);
    ReplayRecorder::finishAllOpen();
    std::_Exit(1);
}
