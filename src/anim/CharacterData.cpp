#include "anim/CharacterData.h"

#include "input/InputHistory.h"

FrameAnimation CharacterData::getAnimation(PlayerState::Action action) const {
    if (action < PlayerState::WalkForward || action > PlayerState::Tatsu)
        return animations[PlayerState::Idle];
    return animations[action];
}

PlayerState::Action CharacterData::findMove(const InputHistory& history, bool facingLeft,
                                            bool pressSpendsMotion) const {
    for (const auto& [move, action] : moves) {
        if (pressSpendsMotion ? history.matchesUnspent(move, facingLeft)
                              : history.matches(move, facingLeft))
            return action;
    }
    return PlayerState::Idle;
}

bool CharacterData::isSpecialMove(PlayerState::Action action) const {
    for (const auto& move : moves)
        if (move.second == action)
            return true;
    return false;
}

const std::string& CharacterData::spriteName(int sprite) const {
    static const std::string none;
    if (sprite < 0 || sprite >= static_cast<int>(sprites.size()))
        return none;
    return sprites[static_cast<std::size_t>(sprite)].name;
}

HitboxInfo* CharacterData::addBoxes(HitboxInfo boxes) {
    return &boxSets.emplace_back(std::move(boxes));
}

HitProps* CharacterData::addHitProps(HitProps props) {
    return &hitProps.emplace_back(props);
}

void CharacterData::addMove(MoveInput move, PlayerState::Action action) {
    moves.emplace_back(&motions.emplace_back(std::move(move)), action);
}
