#include <cstdlib>
#include <string>

#include <Ogre.h>
#include <gtest/gtest.h>

#include "anim/CharacterData.h"
#include "render/SpriteManager.h"

namespace {

Ogre::TexturePtr textureOf(const Ogre::MaterialPtr& material) {
    return material->getTechnique(0)->getPass(0)->getTextureUnitState("Image")->_getTexturePtr();
}

// A fighter of one sprite, "Idle", whose image Idle.png in its own folder is side pixels wide.
struct FighterImages {
    FighterImages(const std::string& root, const char* name, int side) : folder(root + "/" + name) {
        fighter.name = name;
        fighter.sprites = {{"Idle", "Idle.png"}};
        std::system(("mkdir -p '" + folder + "'").c_str());
        Ogre::Image image(Ogre::PF_BYTE_RGBA, static_cast<Ogre::uint32>(side),
                          static_cast<Ogre::uint32>(side));
        image.setTo(Ogre::ColourValue(1, 0, 1, 1));
        image.save(folder + "/Idle.png");
    }

    CharacterData fighter;
    std::string folder;
};

} // namespace

// Each fighter's folder is a resource group of its own: images named alike stay apart, and a
// new match can add the fighters again once the last one's sprites are gone.
TEST(SpriteManagerTest, FightersMayNameTheirImagesAlike) {
    char pattern[] = "/tmp/vorrak-sprites-XXXXXX";
    const std::string root = mkdtemp(pattern);
    const FighterImages first(root, "first", 4);
    const FighterImages second(root, "second", 8);
    for (int match = 0; match < 2; ++match) {
        SCOPED_TRACE(match);
        SpriteManager sprites;
        sprites.addFighter(first.fighter, first.folder);
        sprites.addFighter(second.fighter, second.folder);
        const Ogre::MaterialPtr a = sprites.material(first.fighter, 0);
        const Ogre::MaterialPtr b = sprites.material(second.fighter, 0);
        ASSERT_TRUE(a && b);
        EXPECT_EQ(a->getName(), "first/Idle");
        EXPECT_EQ(b->getName(), "second/Idle");
        EXPECT_EQ(textureOf(a)->getWidth(), 4u);
        EXPECT_EQ(textureOf(b)->getWidth(), 8u);
        EXPECT_FALSE(sprites.material(first.fighter, 1)) << "no such sprite";
    }
    std::system(("rm -rf '" + root + "'").c_str());
}
