#include "app/FatalReport.h"

#include <cstdio>
#include <cstdlib>

#include <OgreLogManager.h>

void FatalReport::print(const std::string& text) {
    std::fprintf(stderr, "An exception has occurred!\n%s\n", text.c_str());
    std::fflush(stderr);
    if (Ogre::LogManager* log = Ogre::LogManager::getSingletonPtr())
        log->logError(text);
}

void FatalReport::printAndExit(const std::string& text) {
    print(text);
    std::_Exit(1);
}
