#include "frontdoor/MovesScreen.h"

#include "anim/CharacterData.h"
#include "input/Bindings.h"
#include "input/KeyNames.h"
#include "menu/MenuLayer.h"
#include "menu/MenuPage.h"
#include "roster/DataFileError.h"
#include "roster/Roster.h"

namespace {

// The arrows of the menus' font, by direction as the input numbers them (down-left first).
const char* const arrows[] = {"\u2199", "\u2193", "\u2198", "\u2190", "", "\u2192",
                              "\u2196", "\u2191", "\u2197"};

const char* const labKeys[] = {
    "F4 frame meter    F5 pause, resume",
    "F6 one step while paused    F7 one step back",
    "F8 reset    F9 record the dummy",
    "F10 the dummy plays    F11 take over a replay",
};

std::string keyOf(const Bindings& keys, int player, Control::eControl control) {
    const auto& bound = keys.players[player].keys[control];
    return bound.empty() ? "-" : KeyNames::name(bound.front());
}

// Each step of the motion by its first direction, then the button.
std::string motionOf(const MoveInput& motion) {
    std::string drawn;
    for (const MoveComponent& component : motion.components)
        if (!component.directions.empty())
            drawn += std::string(arrows[*component.directions.begin()]) + " ";
    return drawn + (motion.button == 0 ? "+ punch" : "+ kick");
}

} // namespace

MovesScreen::MovesScreen(const std::string& media) {
    const Roster roster(media);
    for (const std::string& name : roster.fighters()) {
        try {
            fighters.push_back(roster.loadFighter(name));
        } catch (const DataFileError&) {
        }
    }
}

MovesScreen::~MovesScreen() = default;

std::optional<Screen> MovesScreen::step(MenuLayer& layer, const Bindings& keys, Screen back) {
    const int pages = static_cast<int>(fighters.size()) + 1;
    if (layer.leftPressed())
        pageShown = (pageShown + pages - 1) % pages;
    if (layer.rightPressed())
        pageShown = (pageShown + 1) % pages;
    const bool lab = pageShown == static_cast<int>(fighters.size());
    const CharacterData* fighter = lab ? nullptr : fighters[static_cast<std::size_t>(pageShown)].get();
    MenuPage page(layer, "moves", lab ? "THE LAB'S KEYS" : fighter->shownName);
    std::optional<Screen> next;
    if (page.item("Back") || page.back())
        next = back;
    if (lab) {
        for (const char* line : labKeys)
            page.note(line);
    } else {
        page.note("Punch: " + keyOf(keys, 0, Control::Punch) + " (player 1), " +
                  keyOf(keys, 1, Control::Punch) + " (player 2)");
        for (const auto& [motion, action] : fighter->moves)
            page.note(fighter->specialName + ":  " + motionOf(*motion));
        page.note("Kick: " + keyOf(keys, 0, Control::Kick) + " (player 1), " +
                  keyOf(keys, 1, Control::Kick) + " (player 2)");
        page.note("Facing left, left and right swap; hold back to block");
    }
    page.note("Left, right: more");
    return next;
}
