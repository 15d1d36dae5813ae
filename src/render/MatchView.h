#pragma once

#include <array>
#include <memory>

#include <OgreRenderTargetListener.h>

namespace Ogre {
class SceneManager;
}
class CharacterData;
class DisplayEntity;
class HitboxInfo;
class Hud;
class Match;
class SpriteManager;

// The match on screen: both fighters' sprites and boxes, their health readouts and input panels
// on the HUD, and the texts of a versus match, all drawn from the match's state as it stands.
// The match never calls it: it listens to the render targets it is added to and brings the
// screen in line with the state before each picture, so a step, a rollback, a replay's jump or
// a state put back all show alike, and steps that draw no picture cost it nothing. What is
// unchanged since the last picture costs no engine call. Owned by whoever owns the match's
// screen (the Application, a test); the match and the sprites must outlive it.
class MatchView : public Ogre::RenderTargetListener {
public:
    MatchView(Ogre::SceneManager* sceneManager, const SpriteManager& sprites, const Match& match);
    ~MatchView() override;

    MatchView(const MatchView&) = delete;
    MatchView& operator=(const MatchView&) = delete;

    // Brings the screen in line with the match's state now.
    void show();
    void preRenderTargetUpdate(const Ogre::RenderTargetEvent&) override { show(); }

    // While set, the fighters are shown facing each other, as the end of a step turns them,
    // whichever way their state faces: the lab shows a match's start so, which has both facing
    // right until its first step.
    void showFacingEachOther(bool facing) { facingEachOther = facing; }

    Hud& hud() { return *headUp; }
    const DisplayEntity& fighter(int side) const {
        return *fighters[static_cast<std::size_t>(side)].entity;
    }

private:
    // One fighter's sprite as last shown.
    struct FighterView {
        std::unique_ptr<DisplayEntity> entity;
        const CharacterData* character = nullptr;
        int sprite = -1;
        bool flipped = false;
        const HitboxInfo* boxes = nullptr;
    };

    void showFighter(int side, bool facingLeft);
    void showRound();

    const SpriteManager& sprites;
    const Match& match;
    std::unique_ptr<Hud> headUp;
    std::array<FighterView, 2> fighters;
    bool facingEachOther = false;
    // What the round captions were last made from, so a picture that changes none of it
    // (nearly every one) makes no text.
    std::array<int, 13> shownRound{};
};
