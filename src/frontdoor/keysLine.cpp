#include "frontdoor/keysLine.h"

#include "input/Bindings.h"
#include "input/KeyNames.h"

namespace {

std::string firstKey(const PlayerBindings& keys, Control::eControl control) {
    const auto& bound = keys.keys[control];
    return bound.empty() ? "-" : KeyNames::name(bound.front());
}

std::string playerLine(const PlayerBindings& keys) {
    return firstKey(keys, Control::Up) + " " + firstKey(keys, Control::Left) + " " +
           firstKey(keys, Control::Down) + " " + firstKey(keys, Control::Right) + ", " +
           firstKey(keys, Control::Punch) + " punch, " + firstKey(keys, Control::Kick) + " kick";
}

} // namespace

std::string keysLine(const Bindings& bindings) {
    return "Player 1: " + playerLine(bindings.players[0]) +
           "     Player 2: " + playerLine(bindings.players[1]);
}
