#include <cstring>
#include <fstream>
#include <string>

#include <Ogre.h>
#include <OgreCodec.h>
#include <gtest/gtest.h>

#include "app/ResourceFileCheck.h"
#include "app/programDirectory.h"
#include "support/EngineEnvironment.h"

// The images the media check hands the engine are the ones the engine's own decoder makes of
// the same files: same size, same pixel format, same bytes. The engine's decoder is reached
// through another type it serves, since the start-up's codec stands in for it for PNG.
TEST(DecodedImageCodecTest, HandsTheEngineWhatItsOwnDecoderWouldMake) {
    EngineEnvironment::app();
    const std::string media = programDirectory() + "/media";
    Ogre::Codec* engineDecoder = Ogre::Codec::getCodec("jpg");
    int checked = 0;
    for (const std::string& folder : {media, media + "/fighters/sora"})
        for (const auto& [name, decoded] : ResourceFileCheck::requireMediaFolder(folder)) {
            ++checked;
            Ogre::DataStreamPtr file(new Ogre::FileStreamDataStream(
                name, new std::ifstream(folder + "/" + name, std::ios::binary)));
            Ogre::Image own;
            engineDecoder->decode(file, &own);
            const Ogre::PixelFormat format =
                decoded.channels == 4 ? Ogre::PF_BYTE_RGBA : Ogre::PF_BYTE_RGB;
            ASSERT_EQ(own.getFormat(), format) << name;
            ASSERT_EQ(own.getSize(), decoded.pixels.size()) << name;
            EXPECT_EQ(std::memcmp(own.getData(), decoded.pixels.data(), decoded.pixels.size()), 0)
                << name;
        }
    EXPECT_GE(checked, 14);
}
