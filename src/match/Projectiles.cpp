#include "match/Projectiles.h"

#include "anim/CharacterData.h"
#include "collision/hitTest.h"
#include "fighter/Player.h"
#include "match/Game.h"

namespace {

float direction(bool facingLeft) {
    return facingLeft ? -1.0f : 1.0f;
}

AABB placed(AABB box, const ProjectileState& at) {
    if (at.facingLeft)
        box.mirror();
    box.translate(at.x, at.y);
    return box;
}

// Any box of one on any box of the other: projectiles meet whatever their boxes are.
bool meet(const HitboxInfo& a, const ProjectileState& at, const HitboxInfo& b,
          const ProjectileState& bt) {
    for (const std::vector<AABB>* boxes : {&a.attackBoxes, &a.bodyBoxes})
        for (const AABB& box : *boxes)
            for (const std::vector<AABB>* others : {&b.attackBoxes, &b.bodyBoxes})
                for (const AABB& other : *others)
                    if (overlaps(placed(box, at), placed(other, bt)))
                        return true;
    return false;
}

} // namespace

Projectiles::Projectiles(Game& game) : game(game) {}

std::array<const HitProps*, 2> Projectiles::strike(const PlayerState& first,
                                                   const PlayerState& second) {
    std::array<const HitProps*, 2> hits{};
    if (game.grab.holding())
        return hits;
    const PlayerState* before[2] = {&first, &second};
    for (int side = 0; side < 2; ++side) {
        ProjectileState& flying = game.projectiles[static_cast<std::size_t>(side)];
        if (!flying.active)
            continue;
        const ProjectileData& data = *game.fighter(side).character->projectile;
        const Player& target = game.fighter(1 - side);
        const PlayerState& targetBefore = *before[1 - side];
        if (!hitTest(*data.boxes, flying.x, flying.y, flying.facingLeft,
                     *target.animation.currentHitboxes(), targetBefore.position.x,
                     targetBefore.position.y, targetBefore.facingLeft))
            continue;
        hits[static_cast<std::size_t>(1 - side)] = data.hit;
        flying.active = false;
    }
    return hits;
}

void Projectiles::fly() {
    for (int side = 0; side < 2; ++side) {
        ProjectileState& flying = game.projectiles[static_cast<std::size_t>(side)];
        if (!flying.active)
            continue;
        const ProjectileData& data = *game.fighter(side).character->projectile;
        flying.x += direction(flying.facingLeft) * data.speed;
        ++flying.age;
        if (flying.age >= data.lifetime || flying.x < -game.walls || flying.x > game.walls)
            flying.active = false;
    }
    ProjectileState& first = game.projectiles[0];
    ProjectileState& second = game.projectiles[1];
    if (first.active && second.active &&
        meet(*game.player1->character->projectile->boxes, first,
             *game.player2->character->projectile->boxes, second)) {
        first.active = false;
        second.active = false;
    }
    launch(0);
    launch(1);
}

// On the move's launch step, counted from 1 as the frame data counts.
void Projectiles::launch(int side) {
    const Player& player = game.fighter(side);
    const auto& data = player.character->projectile;
    ProjectileState& flying = game.projectiles[static_cast<std::size_t>(side)];
    if (!data || flying.active || player.state.action != PlayerState::Tatsu ||
        player.currentAnimAction != PlayerState::Tatsu ||
        player.animation.sprite.position().currentFrame != data->launch - 1)
        return;
    flying.active = true;
    flying.facingLeft = player.state.facingLeft;
    flying.x = player.state.position.x + direction(flying.facingLeft) * data->x;
    flying.y = player.state.position.y + data->y;
    flying.age = 0;
}
