#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include <Ogre.h>
#include <Overlay/OgreFont.h>
#include <Overlay/OgreFontManager.h>
#include <gtest/gtest.h>

#include "anim/CharacterData.h"
#include "render/SpriteManager.h"
#include "roster/Roster.h"
#include "support/EngineEnvironment.h"

// The committed art as the engine reads it: the drawings must tell the truth about the game.

namespace {

// The sprite quad, in world units, stands on its bottom centre at the fighter's position.
const float spriteWidth = 157;
const float spriteHeight = 116;
// An outline may stand a little out of a box: 1.5 units is 3 pixels of the images. A limb
// crossing the narrow gap between a body box and a kick box may stand out a little more, but
// nothing may reach out past the boxes.
const float outlineAllowance = 1.5f;
const float maxShareOutsideBoxes = 0.02f;
const float maxReachBeyondBoxes = 4;
// Faint effects count as drawn too.
const float drawnAlpha = 0.1f;

// Every box a sprite is shown with in any frame of any action, in the fighter's own frame.
// A throw's frames, and a projectile's sprite with its own boxes, count too.
std::map<std::string, std::vector<AABB>> boxesBySprite(const CharacterData& character) {
    std::map<std::string, std::vector<AABB>> boxes;
    if (const auto& projectile = character.projectile) {
        std::vector<AABB>& shown = boxes[character.spriteName(projectile->sprite)];
        for (const auto* set : {&projectile->boxes->attackBoxes, &projectile->boxes->bodyBoxes})
            shown.insert(shown.end(), set->begin(), set->end());
    }
    for (int action = 0; action <= PlayerState::Throw; ++action) {
        FrameAnimation animation = character.getAnimation(PlayerState::Action(action));
        // Long enough for every action, looping or not, to show each of its frames.
        for (int frame = 0; frame < 120; ++frame) {
            std::vector<AABB>& shown = boxes[character.spriteName(animation.currentSprite())];
            for (const auto* set : {&animation.currentHitboxes()->attackBoxes,
                                    &animation.currentHitboxes()->bodyBoxes})
                shown.insert(shown.end(), set->begin(), set->end());
            if (animation.isFinished())
                break;
            animation.step();
        }
    }
    return boxes;
}

// How far the point lies outside the nearest of the boxes; 0 inside one.
float distanceOutside(const std::vector<AABB>& boxes, float x, float y) {
    float nearest = 1e9f;
    for (const AABB& box : boxes) {
        const float dx = std::max({box.left - x, x - box.right, 0.0f});
        const float dy = std::max({box.bottom - y, y - box.top, 0.0f});
        nearest = std::min(nearest, std::hypot(dx, dy));
    }
    return nearest;
}

Ogre::Image imageOf(const CharacterData& character, const std::string& sprite) {
    Ogre::Image image;
    for (const CharacterData::Sprite& each : character.sprites)
        if (each.name == sprite)
            image.load(each.image, SpriteManager::groupOf(character.name));
    return image;
}

// Rows of a glyph's cell that hold some of its white fill (not its dark outline).
int fillHeight(const Ogre::Image& atlas, const Ogre::Font::UVRect& cell) {
    const int width = atlas.getWidth(), height = atlas.getHeight();
    int top = height, bottom = -1;
    for (int y = int(cell.top * height); y < int(cell.bottom * height); ++y) {
        for (int x = int(cell.left * width); x < int(cell.right * width); ++x) {
            const Ogre::ColourValue c = atlas.getColourAt(x, y, 0);
            if (c.a >= 0.5f && c.r >= 0.5f) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return bottom - top + 1;
}

void expectDrawnWithinBoxes(const CharacterData& character) {
    const std::map<std::string, std::vector<AABB>> boxes = boxesBySprite(character);
    ASSERT_FALSE(boxes.empty());
    for (const auto& [sprite, spriteBoxes] : boxes) {
        SCOPED_TRACE(sprite);
        const Ogre::Image image = imageOf(character, sprite);
        const float unitsPerPixelX = spriteWidth / image.getWidth();
        const float unitsPerPixelY = spriteHeight / image.getHeight();
        int drawn = 0, outside = 0;
        float farthest = 0;
        for (std::size_t py = 0; py < image.getHeight(); ++py) {
            for (std::size_t px = 0; px < image.getWidth(); ++px) {
                if (image.getColourAt(px, py, 0).a < drawnAlpha)
                    continue;
                ++drawn;
                const float x = (px + 0.5f) * unitsPerPixelX - spriteWidth / 2;
                const float y = spriteHeight - (py + 0.5f) * unitsPerPixelY;
                const float distance = distanceOutside(spriteBoxes, x, y);
                outside += distance > outlineAllowance;
                farthest = std::max(farthest, distance);
            }
        }
        ASSERT_GT(drawn, 1000);
        EXPECT_LT(float(outside) / drawn, maxShareOutsideBoxes) << outside << " of " << drawn;
        EXPECT_LE(farthest, maxReachBeyondBoxes);
    }
}

} // namespace

// Every fighter of the roster, each sprite with every box it is shown with.
TEST(Art, EverySpriteIsDrawnWithinTheBoxesItIsShownWith) {
    const Roster roster(EngineEnvironment::app().getResourceDir() + "/media");
    ASSERT_FALSE(roster.fighters().empty());
    for (const std::string& name : roster.fighters()) {
        SCOPED_TRACE(name);
        SpriteManager sprites;
        const std::shared_ptr<const CharacterData> character = roster.loadFighter(name);
        sprites.addFighter(*character, roster.fighterFolder(name));
        expectDrawnWithinBoxes(*character);
    }
}

TEST(Art, ArrowsAndButtonMarksAreAsTallAsTheDigits) {
    const Ogre::FontPtr font = Ogre::FontManager::getSingleton().getByName("SpecialChars");
    ASSERT_TRUE(font);
    font->load();
    Ogre::Image atlas;
    atlas.load(font->getSource(), Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME);
    // Round digits reach a little above and below the flat ones.
    int lowest = 1000, highest = 0;
    for (char digit : std::string("0123456789")) {
        lowest = std::min(lowest, fillHeight(atlas, font->getGlyphTexCoords(digit)));
        highest = std::max(highest, fillHeight(atlas, font->getGlyphTexCoords(digit)));
    }
    ASSERT_GT(lowest, 30);
    for (char glyph : std::string("qweadzxcyh")) {
        SCOPED_TRACE(glyph);
        const int height = fillHeight(atlas, font->getGlyphTexCoords(glyph));
        EXPECT_GE(height, lowest - 1);
        EXPECT_LE(height, highest + 1);
    }
}
