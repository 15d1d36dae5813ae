#pragma once

#include <map>
#include <string>

#include <OgreScriptCompiler.h>

// Ends start-up with a report naming the material, its folder and both scripts when two
// material scripts (or one script twice) define the same material: the engine's own error
// names only the material. Listens to the engine's script compiler for as long as it lives;
// the Application makes one around the initialisation of its resources.
class DuplicateMaterialCheck : public Ogre::ScriptCompilerListener {
public:
    explicit DuplicateMaterialCheck(std::string folder);
    ~DuplicateMaterialCheck() override;

    DuplicateMaterialCheck(const DuplicateMaterialCheck&) = delete;
    DuplicateMaterialCheck& operator=(const DuplicateMaterialCheck&) = delete;

    bool handleEvent(Ogre::ScriptCompiler* compiler, Ogre::ScriptCompilerEvent* event,
                     void* result) override;

private:
    std::string folder;
    // Material name to the script that defined it.
    std::map<std::string, std::string> definedIn;
};
