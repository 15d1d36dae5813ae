#include "frontdoor/Portraits.h"

#include <fstream>
#include <iterator>

#include <OgreDataStream.h>
#include <OgreException.h>
#include <OgreImage.h>
#include <OgreTextureManager.h>

namespace {

// The fighter's picture read whole and decoded by the engine's codec.
Ogre::TexturePtr load(const std::string& name, const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (!file && !file.eof())
        return {};
    Ogre::DataStreamPtr stream(new Ogre::MemoryDataStream(bytes.data(), bytes.size()));
    Ogre::Image image;
    image.load(stream, "png");
    return Ogre::TextureManager::getSingleton().loadImage(name, Ogre::RGN_INTERNAL, image);
}

} // namespace

Portraits::Portraits(const std::vector<RosterEntry>& fighters) {
    for (const RosterEntry& fighter : fighters) {
        ImTextureID handle = nullptr;
        if (!fighter.picture.empty()) {
            const std::string name = "Portrait/" + fighter.name;
            try {
                if (const Ogre::TexturePtr texture = load(name, fighter.picture)) {
                    names.push_back(name);
                    handle = reinterpret_cast<ImTextureID>(texture->getHandle());
                }
            } catch (const Ogre::Exception&) {
            }
        }
        handles.push_back(handle);
    }
}

Portraits::~Portraits() {
    for (const std::string& name : names)
        Ogre::TextureManager::getSingleton().remove(name, Ogre::RGN_INTERNAL);
}
