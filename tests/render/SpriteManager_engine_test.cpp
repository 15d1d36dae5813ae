#include <cstdlib>
#include <fstream>
#include <string>

#include <Ogre.h>
#include <gtest/gtest.h>

#include "render/SpriteManager.h"
#include "support/EngineEnvironment.h"

namespace {

Ogre::MaterialManager& materials() {
    return Ogre::MaterialManager::getSingleton();
}

std::string imageOf(const Ogre::MaterialPtr& material) {
    return material->getTechnique(0)->getPass(0)->getTextureUnitState("Image")->getTextureName();
}

// Sprite tables written by the tests, beside one small image the engine can load.
class SpriteTableTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        char pattern[] = "/tmp/vorrak-sprites-XXXXXX";
        directory = mkdtemp(pattern);
        Ogre::Image image(Ogre::PF_BYTE_RGBA, 4, 4);
        image.setTo(Ogre::ColourValue(1, 0, 1, 1));
        for (const char* name : {"SpriteTableShared.png", "T6One.png", "T6Two.png"})
            image.save(directory + "/" + name);
        Ogre::ResourceGroupManager::getSingleton().addResourceLocation(directory, "FileSystem",
                                                                       "General");
    }

    static void TearDownTestSuite() {
        Ogre::ResourceGroupManager::getSingleton().removeResourceLocation(directory, "General");
        std::system(("rm -rf '" + directory + "'").c_str());
    }

    static std::string writeTable(const std::string& name, const std::string& contents) {
        const std::string path = directory + "/" + name;
        std::ofstream(path, std::ios::binary) << contents;
        return path;
    }

    static std::string directory;
};

std::string SpriteTableTest::directory;

TEST_F(SpriteTableTest, ReadsEverySeparatorBlanksAndSections) {
    SpriteManager sprites(writeTable("syntax.cfg", "T1Before = before.png\n"
                                                   "T1Overridden = fromNoSection.png\n"
                                                   "[Zulu]\n"
                                                   "T1Equals=equals.png\n"
                                                   "T1Colon:colon.png\n"
                                                   "T1Tab\ttab.png\n"
                                                   "  T1Blanks   =   blanks.png  \n"
                                                   "T1BlankColon :\tblankColon.png\n"
                                                   "T1Sections = fromZulu.png\n"
                                                   "T1SameSection = first.png\n"
                                                   "T1SameSection = second.png\n"
                                                   "[Mike]\n"
                                                   "T1Sections = fromMike.png\n"
                                                   "T1Overridden = fromMike.png\n"));
    EXPECT_EQ(SpriteManager::getSingletonPtr(), &sprites);

    EXPECT_EQ(imageOf(sprites.getSpriteMaterial("T1Before")), "before.png");
    EXPECT_EQ(imageOf(sprites.getSpriteMaterial("T1Equals")), "equals.png");
    EXPECT_EQ(imageOf(sprites.getSpriteMaterial("T1Colon")), "colon.png");
    EXPECT_EQ(imageOf(sprites.getSpriteMaterial("T1Tab")), "tab.png");
    EXPECT_EQ(imageOf(sprites.getSpriteMaterial("T1Blanks")), "blanks.png");
    EXPECT_EQ(imageOf(sprites.getSpriteMaterial("T1BlankColon")), "blankColon.png");
    // Sections are visited in the order their names sort, not in file order; lines before the
    // first header form a section whose empty name sorts first.
    EXPECT_EQ(imageOf(sprites.getSpriteMaterial("T1Sections")), "fromZulu.png");
    EXPECT_EQ(imageOf(sprites.getSpriteMaterial("T1Overridden")), "fromMike.png");
    EXPECT_EQ(imageOf(sprites.getSpriteMaterial("T1SameSection")), "second.png");

    const Ogre::MaterialPtr material = sprites.getSpriteMaterial("T1Equals");
    EXPECT_EQ(material->getName(), "T1Equals");
    EXPECT_EQ(material->getGroup(), materials().getByName("Sprite")->getGroup());
}

TEST_F(SpriteTableTest, CachesKnownSpritesAndFallsBackForUnknownOnes) {
    SpriteManager sprites(writeTable("cache.cfg", "T2Known = known.png\n"
                                                  "Sprite = replaced.png\n"));
    const Ogre::MaterialPtr base = materials().getByName("Sprite");
    const std::string baseImage = imageOf(base);

    const Ogre::MaterialPtr first = sprites.getSpriteMaterial("T2Known");
    EXPECT_NE(first, base);
    EXPECT_EQ(sprites.getSpriteMaterial("T2Known"), first);

    for (int request = 0; request < 2; ++request) {
        EXPECT_EQ(sprites.getSpriteMaterial("T2Unknown"), base);
        EXPECT_FALSE(materials().resourceExists("T2Unknown"));
    }

    // A sprite named like an existing material gets that material as it is.
    EXPECT_EQ(sprites.getSpriteMaterial("Sprite"), base);
    EXPECT_EQ(imageOf(base), baseImage);
    EXPECT_EQ(sprites.getSpriteMaterial("GreenOverlay"), materials().getByName("GreenOverlay"));
}

TEST_F(SpriteTableTest, TwoSpritesWithOneImageShareItsTexture) {
    SpriteManager sprites(writeTable("shared.cfg", "T3First = SpriteTableShared.png\n"
                                                   "T3Second = SpriteTableShared.png\n"));
    const Ogre::MaterialPtr first = sprites.getSpriteMaterial("T3First");
    const Ogre::MaterialPtr second = sprites.getSpriteMaterial("T3Second");
    ASSERT_NE(first, second);
    first->load();
    second->load();

    const Ogre::TexturePtr texture =
        first->getTechnique(0)->getPass(0)->getTextureUnitState("Image")->_getTexturePtr();
    ASSERT_TRUE(texture);
    EXPECT_EQ(texture->getName(), "SpriteTableShared.png");
    EXPECT_EQ(texture->getWidth(), 4u);
    EXPECT_EQ(second->getTechnique(0)->getPass(0)->getTextureUnitState("Image")->_getTexturePtr(),
              texture);
}

TEST_F(SpriteTableTest, LoadsEverySpritesImageBeforeItIsShown) {
    SpriteManager sprites(writeTable("load.cfg", "T6One = T6One.png\nT6Two = T6Two.png\n"));
    sprites.loadAllSprites();
    for (const char* image : {"T6One", "T6Two"}) {
        SCOPED_TRACE(image);
        ASSERT_TRUE(materials().resourceExists(image));
        EXPECT_TRUE(materials().getByName(image)->isLoaded());
        const Ogre::TexturePtr texture =
            Ogre::TextureManager::getSingleton().getByName(std::string(image) + ".png");
        ASSERT_TRUE(texture);
        EXPECT_TRUE(texture->isLoaded());
        // As the base material's image: sprites are never drawn smaller than their images.
        EXPECT_EQ(texture->getNumMipmaps(), 0u);
    }
}

TEST_F(SpriteTableTest, MalformedLinesLeaveTheDefinedSpritesWorking) {
    // The engine's reader stops at a NUL byte, so that line comes last.
    const std::string table = std::string("T4NoSeparatorAtAll\n"
                                          "= nameless.png\n"
                                          "T4Imageless =\n"
                                          "T4ImagelessColon :  \n"
                                          "[Unclosed section\n"
                                          "\xff\xfe\x01junk\x7f\n"
                                          "T4Good = SpriteTableShared.png\n"
                                          "T4MissingImage = NoSuchImage.png\n") +
                              std::string("T4Nul\0byte\n", 11);
    std::unique_ptr<SpriteManager> sprites;
    ASSERT_NO_THROW(sprites = std::make_unique<SpriteManager>(writeTable("malformed.cfg", table)));

    const Ogre::MaterialPtr base = materials().getByName("Sprite");
    EXPECT_EQ(imageOf(sprites->getSpriteMaterial("T4Good")), "SpriteTableShared.png");
    EXPECT_EQ(sprites->getSpriteMaterial(""), base);
    EXPECT_EQ(sprites->getSpriteMaterial("T4Imageless"), base);
    EXPECT_EQ(sprites->getSpriteMaterial("T4ImagelessColon"), base);
    EXPECT_EQ(sprites->getSpriteMaterial("T4NoSeparatorAtAll"), base);
    EXPECT_FALSE(materials().resourceExists("T4Imageless"));

    // An image that does not exist is the engine's to report; the sprite is still usable.
    const Ogre::MaterialPtr missing = sprites->getSpriteMaterial("T4MissingImage");
    EXPECT_NE(missing, base);
    EXPECT_NO_THROW(missing->load());
}

TEST_F(SpriteTableTest, MissingTableOrBaseMaterialRaisesEngineExceptions) {
    EXPECT_THROW(SpriteManager(directory + "/absent.cfg"), Ogre::Exception);
    EXPECT_EQ(SpriteManager::getSingletonPtr(), nullptr);

    SpriteManager sprites(writeTable("nobase.cfg", "T5Sprite = SpriteTableShared.png\n"));
    // Set the base material aside and bring it back afterwards, whatever happens.
    materials().getByName("Sprite")->clone("T5BaseBackup");
    materials().remove("Sprite", Ogre::ResourceGroupManager::AUTODETECT_RESOURCE_GROUP_NAME);
    struct Restore {
        ~Restore() {
            materials().getByName("T5BaseBackup")->clone("Sprite");
            materials().remove("T5BaseBackup",
                               Ogre::ResourceGroupManager::AUTODETECT_RESOURCE_GROUP_NAME);
        }
    } restore;

    try {
        sprites.getSpriteMaterial("T5Sprite");
        ADD_FAILURE() << "no exception for a missing base material";
    } catch (const Ogre::Exception& error) {
        EXPECT_NE(std::string(error.what()).find("\"Sprite\""), std::string::npos) << error.what();
    }
    EXPECT_FALSE(materials().resourceExists("T5Sprite"));
}

} // namespace
