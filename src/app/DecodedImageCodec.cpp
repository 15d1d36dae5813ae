#include "app/DecodedImageCodec.h"

#include <cstring>

#include <OgreDataStream.h>
#include <OgreImage.h>

namespace {

const char* const type = "png";

} // namespace

DecodedImageCodec::DecodedImageCodec(Images images)
    : images(std::move(images)), engineCodec(Ogre::Codec::getCodec(type)) {
    Ogre::Codec::unregisterCodec(engineCodec);
    Ogre::Codec::registerCodec(this);
}

DecodedImageCodec::~DecodedImageCodec() {
    Ogre::Codec::unregisterCodec(this);
    Ogre::Codec::registerCodec(engineCodec);
}

// A stream of another size than the file the check read is another file of that name.
void DecodedImageCodec::decode(const Ogre::DataStreamPtr& input, const Ogre::Any& output) const {
    const auto found = images.find(input->getName());
    if (found == images.end() || found->second.fileBytes != input->size())
        return engineCodec->decode(input, output);
    const DecodedImage& decoded = found->second;
    Ogre::Image* image = Ogre::any_cast<Ogre::Image*>(output);
    image->create(decoded.channels == 4 ? Ogre::PF_BYTE_RGBA : Ogre::PF_BYTE_RGB, decoded.width,
                  decoded.height);
    std::memcpy(image->getData(), decoded.pixels.data(), decoded.pixels.size());
    images.erase(found);
}

Ogre::DataStreamPtr DecodedImageCodec::encode(const Ogre::Any& input) const {
    return engineCodec->encode(input);
}

void DecodedImageCodec::encodeToFile(const Ogre::Any& input,
                                     const Ogre::String& outFileName) const {
    engineCodec->encodeToFile(input, outFileName);
}

Ogre::String DecodedImageCodec::getType() const {
    return type;
}

Ogre::String DecodedImageCodec::magicNumberToFileExt(const char* magicNumber,
                                                     size_t maxBytes) const {
    return engineCodec->magicNumberToFileExt(magicNumber, maxBytes);
}
