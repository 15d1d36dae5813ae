#pragma once

#include <cstdint>

#include "input/InputFrame.h"
#include "input/ProgramKeys.h"

// One side's input for one logic step as it travels between the two machines: the player's
// frame and the debug-display keys, packed in 9 bits. The debug displays are part of the match,
// so both sides' keys reach both matches. Escape never travels here: it ends the session.
namespace NetInput {

// The frame's own input bits first: direction, then the punch and the kick.
constexpr std::uint16_t punchBit = 1 << 4;
constexpr std::uint16_t kickBit = 1 << 5;
constexpr std::uint16_t hideBit = 1 << 6;
constexpr std::uint16_t panelsBit = 1 << 7;
constexpr std::uint16_t hitboxesBit = 1 << 8;
constexpr std::uint16_t keyBits = hideBit | panelsBit | hitboxesBit;
constexpr std::uint16_t usedBits = 0x1ff;
// Neutral, nothing pressed, no key down.
constexpr std::uint16_t idle = Direction::Neutral;

inline std::uint16_t encode(const InputFrame& frame, const ProgramKeys& keys) {
    return static_cast<std::uint16_t>(frame.inputBits() | (keys.hideDebugDisplays ? hideBit : 0) |
                                      (keys.showInputPanels ? panelsBit : 0) |
                                      (keys.showHitboxes ? hitboxesBit : 0));
}

// Anything received is checked with this before it is decoded.
inline bool isValid(std::uint16_t input) {
    return (input & ~usedBits) == 0 && InputFrame::validInputBits(input);
}

inline InputFrame frameOf(std::uint16_t input) {
    return InputFrame::fromInputBits(input & InputFrame::inputBitMask);
}

// Either side's key down is down for the step.
inline ProgramKeys keysOf(std::uint16_t a, std::uint16_t b) {
    const std::uint16_t keys = (a | b) & keyBits;
    ProgramKeys result;
    result.hideDebugDisplays = (keys & hideBit) != 0;
    result.showInputPanels = (keys & panelsBit) != 0;
    result.showHitboxes = (keys & hitboxesBit) != 0;
    return result;
}

// What the other side is taken to do until its input arrives: the same as in its last known
// step, stick and keys held, but no new press (a press is an edge: it is not repeated).
inline std::uint16_t predictedAfter(std::uint16_t last) {
    return static_cast<std::uint16_t>(last & ~(punchBit | kickBit));
}

} // namespace NetInput
