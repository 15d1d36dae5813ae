#include "roster/FighterFile.h"

#include <map>
#include <set>

#include <sys/stat.h>
#include <toml++/toml.h>

#include "anim/CharacterData.h"
#include "files/TextFile.h"
#include "roster/DataFileError.h"
#include "roster/DataReader.h"
#include "roster/Lineup.h"

namespace {

// Far enough from an int's end that no sum the rules make of them overflows.
constexpr int maxHealth = 100000;
constexpr int maxSteps = 60 * 60;
constexpr int maxSegments = 256;
constexpr double maxCoordinate = 1000;
constexpr double maxMovement = 100;
constexpr int maxNameLength = 40;
// What the computer player can enter as a plan of its own.
constexpr std::size_t maxMotionSteps = 4;

struct ActionKey {
    const char* key;
    PlayerState::Action action;
};
const ActionKey actionKeys[] = {
    {"idle", PlayerState::Idle},
    {"walk_forward", PlayerState::WalkForward},
    {"walk_back", PlayerState::WalkBackward},
    {"block", PlayerState::Block},
    {"hit", PlayerState::Hit},
    {"punch", PlayerState::HP},
    {"special", PlayerState::Tatsu},
};

// Directions as the player sees them for a fighter facing right: back is away from the other.
const std::map<std::string, Direction::eDirection> directionNames = {
    {"down-back", Direction::DownLeft},     {"down", Direction::Down},
    {"down-forward", Direction::DownRight}, {"back", Direction::Left},
    {"neutral", Direction::Neutral},        {"forward", Direction::Right},
    {"up-back", Direction::UpLeft},         {"up", Direction::Up},
    {"up-forward", Direction::UpRight},
};

bool plainFileName(const std::string& name) {
    return !name.empty() && name.find('/') == std::string::npos && name != "." && name != "..";
}

class FighterReader {
public:
    FighterReader(DataReader& in, CharacterData& data, const std::string& folder)
        : in(in), data(data), folder(folder) {}

    void read(const toml::table& file) {
        in.onlyKeys(file, "", {"name", "health", "sprites", "boxes", "hits", "actions"});
        data.shownName = in.shownName(file, "name", maxNameLength);
        data.health = in.integer(file, "health", "health", 1, maxHealth);
        noHit = data.addHitProps(HitProps{});
        readSprites(in.table(file, "sprites", "sprites"));
        readBoxes(in.table(file, "boxes", "boxes"));
        if (file.contains("hits"))
            readHits(in.table(file, "hits", "hits"));
        readActions(in.table(file, "actions", "actions"));
    }

private:
    void readSprites(const toml::table& sprites) {
        if (sprites.empty())
            in.fail(sprites, "sprites", "a fighter needs at least one sprite");
        for (const auto& [key, value] : sprites) {
            const std::string name(key.str());
            const std::string field = "sprites." + name;
            const std::string image = in.string(value, field);
            if (!plainFileName(image) || image.size() < 5 ||
                image.compare(image.size() - 4, 4, ".png") != 0)
                in.fail(value, field, "'" + image + "' must be a PNG file in the fighter's folder");
            struct stat status {};
            const std::string path = folder + "/" + image;
            if (!folder.empty() && (stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)))
                in.fail(value, field, "the image " + path + " is missing");
            spriteIndex[name] = static_cast<int>(data.sprites.size());
            data.sprites.push_back({name, image});
        }
    }

    void readBoxes(const toml::table& sets) {
        for (const auto& [key, value] : sets) {
            const std::string name(key.str());
            const std::string field = "boxes." + name;
            const toml::table& set = in.table(value, field);
            in.onlyKeys(set, field, {"body", "attack"});
            HitboxInfo boxes;
            readBoxList(set, field, "body", boxes, false);
            readBoxList(set, field, "attack", boxes, true);
            boxSets[name] = data.addBoxes(std::move(boxes));
        }
    }

    void readBoxList(const toml::table& set, const std::string& field, const char* key,
                     HitboxInfo& boxes, bool attack) {
        if (!set.contains(key))
            return;
        const toml::array& list = in.array(set, key, field + "." + key);
        for (std::size_t i = 0; i < list.size(); ++i) {
            const std::string boxField = field + "." + key + "[" + std::to_string(i) + "]";
            const toml::table& box = in.table(*list.get(i), boxField);
            in.onlyKeys(box, boxField, {"left", "right", "bottom", "top"});
            const auto side = [&](const char* name) {
                return static_cast<float>(
                    in.number(box, name, boxField + "." + name, -maxCoordinate, maxCoordinate));
            };
            const float left = side("left"), right = side("right");
            const float bottom = side("bottom"), top = side("top");
            if (right < left || top < bottom)
                in.fail(box, boxField,
                        "a box of negative size (right below left or top below bottom)");
            boxes.addBox(AABB(left, right, top, bottom), attack);
        }
    }

    void readHits(const toml::table& hits) {
        for (const auto& [key, value] : hits) {
            const std::string name(key.str());
            const std::string field = "hits." + name;
            const toml::table& hit = in.table(value, field);
            in.onlyKeys(hit, field, {"damage", "hit_stun", "block_stun"});
            HitProps props;
            props.active = true;
            props.damage = in.integer(hit, "damage", field + ".damage", 0, data.health);
            props.hitStun = in.integer(hit, "hit_stun", field + ".hit_stun", 0, maxSteps);
            props.blockStun = in.integer(hit, "block_stun", field + ".block_stun", 0, maxSteps);
            hitProps[name] = data.addHitProps(props);
        }
    }

    void readActions(const toml::table& actions) {
        std::vector<std::string_view> keys;
        for (const ActionKey& action : actionKeys)
            keys.push_back(action.key);
        keys.push_back("throw");
        in.onlyKeys(actions, "actions", keys);
        for (const ActionKey& action : actionKeys) {
            const std::string field = std::string("actions.") + action.key;
            readAction(in.table(actions, action.key, field), field, data.animations[action.action],
                       action.action);
        }
        if (actions.contains("throw"))
            readAction(in.table(actions, "throw", "actions.throw"), "actions.throw",
                       data.throwAnimation, PlayerState::Throw);
    }

    void readAction(const toml::table& action, const std::string& field, FrameAnimation& animation,
                    PlayerState::Action kind) {
        std::vector<std::string_view> keys = {"loop", "sprites", "boxes", "hits", "movement"};
        if (kind == PlayerState::Tatsu) {
            keys.insert(keys.end(), {"name", "motion", "projectile"});
            data.specialName = in.shownName(action, "name", maxNameLength, field + ".name");
        }
        if (kind == PlayerState::Throw) {
            keys.insert(keys.end(),
                        {"name", "motion", "grab", "reach", "damage", "stun", "hold", "release"});
            data.throwName = in.shownName(action, "name", maxNameLength, field + ".name");
        }
        in.onlyKeys(action, field, keys);
        if (action.contains("loop"))
            animation.sprite.setLoop(in.boolean(action, "loop", field + ".loop"));
        segments(action, field, "sprites", true,
                 [&](const toml::table& segment, const std::string& at) {
                     const std::string name = in.string(segment, "sprite", at + ".sprite");
                     const auto found = spriteIndex.find(name);
                     if (found == spriteIndex.end())
                         in.fail(*segment.get("sprite"), at + ".sprite",
                                 "the sprite '" + name + "' is not one of the file's sprites");
                     animation.sprite.addSegment(steps(segment, at), found->second);
                 });
        segments(action, field, "boxes", true,
                 [&](const toml::table& segment, const std::string& at) {
                     const std::string name = in.string(segment, "boxes", at + ".boxes");
                     const auto found = boxSets.find(name);
                     if (found == boxSets.end())
                         in.fail(*segment.get("boxes"), at + ".boxes",
                                 "the box set '" + name + "' is not one of the file's boxes");
                     animation.hitboxes.addSegment(steps(segment, at), found->second);
                 });
        segments(action, field, "hits", false,
                 [&](const toml::table& segment, const std::string& at) {
                     HitProps* props = noHit;
                     if (segment.contains("hit")) {
                         const std::string name = in.string(segment, "hit", at + ".hit");
                         const auto found = hitProps.find(name);
                         if (found == hitProps.end())
                             in.fail(*segment.get("hit"), at + ".hit",
                                     "the hit '" + name + "' is not one of the file's hits");
                         props = found->second;
                     }
                     animation.hitProps.addSegment(steps(segment, at), props);
                 });
        segments(action, field, "movement", true,
                 [&](const toml::table& segment, const std::string& at) {
                     const auto component = [&](const char* key) {
                         return static_cast<float>(
                             in.number(segment, key, at + "." + key, -maxMovement, maxMovement));
                     };
                     animation.movement.addSegment(steps(segment, at),
                                                   Ogre::Vector2(component("x"), component("y")));
                 });
        // The match tick reads the hit of every attack box that lands.
        bool attacks = false;
        for (const auto& segment : animation.hitboxes.segments)
            attacks = attacks || !segment.value->attackBoxes.empty();
        if (attacks && animation.hitProps.isEmpty())
            in.fail(action, field + ".hits", "missing, yet its boxes attack");
        animation.computeConstantFlags();
        if (kind == PlayerState::Tatsu || kind == PlayerState::Throw)
            readMotion(in.table(action, "motion", field + ".motion"), field + ".motion", kind);
        if (kind == PlayerState::Tatsu && action.contains("projectile"))
            readProjectile(in.table(action, "projectile", field + ".projectile"),
                           field + ".projectile", animation);
        if (kind == PlayerState::Throw)
            readThrow(action, field, animation);
    }

    // The step of an action (counted from 1) on which something happens: within the action.
    int stepOf(const toml::table& table, const char* key, const std::string& field,
               const FrameAnimation& animation) {
        return in.integer(table, key, field + "." + key, 1, animation.sprite.totalFrames);
    }

    double coordinate(const toml::table& table, const char* key, const std::string& field) {
        return in.number(table, key, field + "." + key, -maxCoordinate, maxCoordinate);
    }

    void readProjectile(const toml::table& table, const std::string& field,
                        const FrameAnimation& animation) {
        in.onlyKeys(table, field,
                    {"launch", "sprite", "boxes", "hit", "speed", "lifetime", "x", "y"});
        ProjectileData projectile;
        projectile.launch = stepOf(table, "launch", field, animation);
        projectile.sprite = named(spriteIndex, table, "sprite", field, "sprite");
        projectile.boxes = named(boxSets, table, "boxes", field, "box set");
        if (projectile.boxes->attackBoxes.empty())
            in.fail(*table.get("boxes"), field + ".boxes", "a projectile's boxes must attack");
        projectile.hit = named(hitProps, table, "hit", field, "hit");
        projectile.speed =
            static_cast<float>(in.number(table, "speed", field + ".speed", 0.1, maxMovement));
        projectile.lifetime = in.integer(table, "lifetime", field + ".lifetime", 1, maxSteps);
        projectile.x = static_cast<float>(coordinate(table, "x", field));
        projectile.y = static_cast<float>(coordinate(table, "y", field));
        data.projectile = projectile;
    }

    void readThrow(const toml::table& action, const std::string& field,
                   const FrameAnimation& animation) {
        if (animation.sprite.loop)
            in.fail(action, field + ".loop", "a throw must end: loop = false");
        ThrowData grab;
        grab.grab = stepOf(action, "grab", field, animation);
        grab.reach =
            static_cast<float>(in.number(action, "reach", field + ".reach", 0, maxCoordinate));
        grab.damage = in.integer(action, "damage", field + ".damage", 0, data.health);
        grab.stun = in.integer(action, "stun", field + ".stun", 0, maxSteps);
        const toml::table& hold = in.table(action, "hold", field + ".hold");
        in.onlyKeys(hold, field + ".hold", {"x", "y"});
        grab.holdX = static_cast<float>(coordinate(hold, "x", field + ".hold"));
        grab.holdY = static_cast<float>(coordinate(hold, "y", field + ".hold"));
        const toml::table& release = in.table(action, "release", field + ".release");
        in.onlyKeys(release, field + ".release", {"x"});
        grab.releaseX = static_cast<float>(coordinate(release, "x", field + ".release"));
        grab.button = data.moves.back().first->button;
        data.throwMove = grab;
    }

    // A name the file gives elsewhere: a sprite, a box set or a hit.
    template <typename Value>
    Value named(const std::map<std::string, Value>& known, const toml::table& table,
                const char* key, const std::string& field, const char* what) {
        const std::string name = in.string(table, key, field + "." + key);
        const auto found = known.find(name);
        if (found == known.end())
            in.fail(*table.get(key), field + "." + key,
                    "the " + std::string(what) + " '" + name + "' is not one of the file's");
        return found->second;
    }

    template <typename Read>
    void segments(const toml::table& action, const std::string& field, const char* key,
                  bool required, Read read) {
        if (!required && !action.contains(key))
            return;
        const std::string listField = field + "." + key;
        const toml::array& list = in.array(action, key, listField);
        if (list.empty() || list.size() > static_cast<std::size_t>(maxSegments))
            in.fail(list, listField, "needs 1 to " + std::to_string(maxSegments) + " segments");
        for (std::size_t i = 0; i < list.size(); ++i) {
            const std::string at = listField + "[" + std::to_string(i) + "]";
            const toml::table& segment = in.table(*list.get(i), at);
            in.onlyKeys(segment, at, segmentKeys(key));
            read(segment, at);
        }
    }

    static std::vector<std::string_view> segmentKeys(const std::string& track) {
        if (track == "sprites")
            return {"sprite", "steps"};
        if (track == "boxes")
            return {"boxes", "steps"};
        if (track == "hits")
            return {"hit", "steps"};
        return {"x", "y", "steps"};
    }

    int steps(const toml::table& segment, const std::string& at) {
        return in.integer(segment, "steps", at + ".steps", 1, maxSteps);
    }

    void readMotion(const toml::table& motion, const std::string& field,
                    PlayerState::Action action) {
        in.onlyKeys(motion, field, {"button", "steps"});
        MoveInput move;
        move.setButton(in.integer(motion, "button", field + ".button", 1, 2) - 1);
        const toml::array& list = in.array(motion, "steps", field + ".steps");
        if (list.empty() || list.size() > maxMotionSteps)
            in.fail(list, field + ".steps",
                    "a motion needs 1 to " + std::to_string(maxMotionSteps) + " steps");
        for (std::size_t i = 0; i < list.size(); ++i) {
            const std::string at = field + ".steps[" + std::to_string(i) + "]";
            const toml::table& step = in.table(*list.get(i), at);
            in.onlyKeys(step, at, {"directions", "window"});
            const int window = in.integer(step, "window", at + ".window", 1, 60);
            move.addComponent(
                MoveComponent(directions(step, at + ".directions"), static_cast<unsigned>(window)));
        }
        data.addMove(std::move(move), action);
    }

    std::set<Direction::eDirection> directions(const toml::table& step, const std::string& field) {
        const toml::array& list = in.array(step, "directions", field);
        if (list.empty())
            in.fail(list, field, "a motion step needs at least one direction");
        std::set<Direction::eDirection> found;
        for (std::size_t i = 0; i < list.size(); ++i) {
            const std::string at = field + "[" + std::to_string(i) + "]";
            const std::string name = in.string(*list.get(i), at);
            const auto direction = directionNames.find(name);
            if (direction == directionNames.end())
                in.fail(*list.get(i), at,
                        "'" + name +
                            "' is not a direction (there are down-back, down, "
                            "down-forward, back, neutral, forward, up-back, up and "
                            "up-forward)");
            found.insert(direction->second);
        }
        return found;
    }

    DataReader& in;
    CharacterData& data;
    const std::string& folder;
    std::map<std::string, int> spriteIndex;
    std::map<std::string, HitboxInfo*> boxSets;
    std::map<std::string, HitProps*> hitProps;
    HitProps* noHit = nullptr;
};

std::string nameOf(const std::string& folder) {
    const std::size_t slash = folder.find_last_not_of('/');
    const std::string trimmed = folder.substr(0, slash == std::string::npos ? 0 : slash + 1);
    return trimmed.substr(trimmed.rfind('/') + 1);
}

} // namespace

namespace FighterFile {

std::unique_ptr<CharacterData> read(const std::string& folder) {
    const std::string path = folder + "/" + fileName;
    std::string text;
    try {
        text = TextFile::read(path, maxBytes, "a fighter's file");
    } catch (const FileError& e) {
        throw DataFileError(e.what());
    }
    return parse(text, path, folder);
}

std::unique_ptr<CharacterData> parse(const std::string& text, const std::string& source,
                                     const std::string& folder) {
    auto data = std::make_unique<CharacterData>();
    data->name = nameOf(folder);
    DataReader in(source);
    const toml::table file = in.parse(text);
    FighterReader(in, *data, folder).read(file);
    data->fingerprint = Lineup::fingerprintOf(text);
    return data;
}

} // namespace FighterFile
