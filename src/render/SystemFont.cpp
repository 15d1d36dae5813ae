#include "render/SystemFont.h"

#include <OgreResourceGroupManager.h>
#include <Overlay/OgreFont.h>
#include <Overlay/OgreFontManager.h>

namespace {

const char* const fontDirectory = "/usr/share/fonts/truetype/dejavu";

} // namespace

void SystemFont::require(const char* name, const char* source, int size) {
    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    if (groups.resourceGroupExists(name))
        return;
    groups.addResourceLocation(fontDirectory, "FileSystem", name);
    groups.initialiseResourceGroup(name);
    Ogre::FontPtr font = Ogre::FontManager::getSingleton().create(name, name);
    font->setType(Ogre::FT_TRUETYPE);
    font->setSource(source);
    font->setTrueTypeSize(static_cast<Ogre::Real>(size));
    font->setTrueTypeResolution(96);
    font->addCodePointRange({32, 126});
    font->load();
}
