#pragma once

#include <map>
#include <string>

#include <OgreImageCodec.h>

#include "app/DecodedImage.h"

// The engine's PNG codec while the game runs: hands out the images the start-up's check has
// already decoded, each once, by file name, and passes every other PNG, and every image to
// write, to the codec it stands in for. Registered in that decoder's place from construction to
// destruction; owned by the Application, which drops it before the engine's plug-ins go.
class DecodedImageCodec : public Ogre::ImageCodec {
public:
    using Images = std::map<std::string, DecodedImage>;

    explicit DecodedImageCodec(Images images);
    ~DecodedImageCodec() override;

    DecodedImageCodec(const DecodedImageCodec&) = delete;
    DecodedImageCodec& operator=(const DecodedImageCodec&) = delete;

    void decode(const Ogre::DataStreamPtr& input, const Ogre::Any& output) const override;
    Ogre::DataStreamPtr encode(const Ogre::Any& input) const override;
    void encodeToFile(const Ogre::Any& input, const Ogre::String& outFileName) const override;
    Ogre::String getType() const override;
    Ogre::String magicNumberToFileExt(const char* magicNumber, size_t maxBytes) const override;

private:
    // Taken out as the engine decodes them: each is loaded once, and the memory goes with it.
    mutable Images images;
    Ogre::Codec* engineCodec;
};
