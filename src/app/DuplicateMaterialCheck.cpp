#include "app/DuplicateMaterialCheck.h"

#include <OgreException.h>

DuplicateMaterialCheck::DuplicateMaterialCheck(std::string folder) : folder(std::move(folder)) {
    Ogre::ScriptCompilerManager::getSingleton().setListener(this);
}

DuplicateMaterialCheck::~DuplicateMaterialCheck() {
    Ogre::ScriptCompilerManager::getSingleton().setListener(nullptr);
}

bool DuplicateMaterialCheck::handleEvent(Ogre::ScriptCompiler*, Ogre::ScriptCompilerEvent* event,
                                         void*) {
    if (event->mType != Ogre::CreateMaterialScriptCompilerEvent::eventType)
        return false;
    const auto* creation = static_cast<Ogre::CreateMaterialScriptCompilerEvent*>(event);
    const auto [earlier, first] = definedIn.emplace(creation->mName, creation->mFile);
    if (!first)
        OGRE_EXCEPT(Ogre::Exception::ERR_DUPLICATE_ITEM,
                    "The material '" + creation->mName + "' is defined twice in " + folder +
                        ": in " + earlier->second + " and in " + creation->mFile,
                    "DuplicateMaterialCheck");
    // Not handled here: the engine creates the material as usual.
    return false;
}
