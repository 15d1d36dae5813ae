// A fighter's file, as the game reads media/fighters/<name>/fighter.toml: refused with a
// DataFileError of one line, or read into data every action of which can be played; then a
// versus match of that fighter against the default one runs for a few seconds of steps taken
// from a seed in the file's bytes, without a fault.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "anim/CharacterData.h"
#include "expect.h"
#include "match/Game.h"
#include "match/Match.h"
#include "roster/DataFileError.h"
#include "roster/FighterFile.h"
#include "support/testFighters.h"

namespace {

bool playable(const CharacterData& data) {
    for (const FrameAnimation& animation : data.animations)
        if (animation.sprite.isEmpty() || animation.hitboxes.isEmpty() ||
            animation.movement.isEmpty())
            return false;
    for (const FrameAnimation& animation : data.animations) {
        for (const auto& segment : animation.sprite.segments)
            if (data.spriteName(segment.value).empty())
                return false;
        for (const auto& segment : animation.hitboxes.segments)
            if (!segment.value->attackBoxes.empty() && animation.hitProps.isEmpty())
                return false;
    }
    // A throw is played like any action, and a projectile flies with its own boxes and hit.
    if (data.throwMove &&
        (data.throwAnimation.sprite.isEmpty() || data.throwAnimation.hitboxes.isEmpty() ||
         data.throwAnimation.movement.isEmpty() || data.throwAnimation.sprite.loop))
        return false;
    if (data.projectile && (!data.projectile->boxes || !data.projectile->hit ||
                            data.projectile->boxes->attackBoxes.empty() ||
                            data.spriteName(data.projectile->sprite).empty()))
        return false;
    return data.moves.size() == (data.throwMove ? 2u : 1u) && data.health > 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::shared_ptr<const CharacterData> fighter;
    try {
        fighter = FighterFile::parse(text, "fuzz.toml", "");
    } catch (const DataFileError& e) {
        expect(std::string(e.what()).find('\n') == std::string::npos, "one line");
        return 0;
    }
    expect(playable(*fighter), "every action can be played");
    Game game(fighter, defaultFighter());
    Match match(game);
    MatchRules rules;
    rules.versus = true;
    match.start(rules);
    std::uint32_t seed = static_cast<std::uint32_t>(size);
    for (std::size_t i = 0; i < size; ++i)
        seed = seed * 31 + data[i];
    for (int step = 0; step < 600; ++step) {
        seed = seed * 1664525u + 1013904223u;
        StepInput input;
        for (InputFrame& frame : input.players) {
            frame.direction = static_cast<Direction::eDirection>((seed >> 8) % 9);
            frame.pressed[0] = (seed >> 16) % 7 == 0;
            frame.pressed[1] = (seed >> 20) % 5 == 0;
            seed = seed * 1664525u + 1013904223u;
        }
        match.step(input);
    }
    return 0;
}
