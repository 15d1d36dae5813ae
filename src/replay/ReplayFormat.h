#pragma once

#include <cstdint>

#include "input/StepInput.h"

// The replay file, all numbers little-endian:
//   header   8 bytes "VORRAKRP", 2 bytes format version;
//            from version 5 on the match's fighters (left, right) and stage, each as 1 byte
//            its name's length (1 to 64), the name players type, 8 bytes the fingerprint of its
//            file; then the mode: 1 byte its kind (see ReplayMode), 1 byte the computer's
//            level and 1 byte its side (0 unless against the computer);
//            before version 5, 8 bytes the character data's fingerprint (the default fighter on
//            both sides, on the default stage);
//            from version 2 on the rules: 1 byte versus (0 or 1), 1 byte rounds, 4 bytes round
//            steps, from version 4 on 1 byte the rules' version; from version 3 on then the match
//            the steps start from: 4 bytes its size, then the state (see MatchStateCodec), a
//            recording of a match watched from its middle (from version 4 on a size of 0 means
//            the match's start); from version 4 on then 4 bytes the match's number of the first
//            step (0 from the match's start; the match counts its steps from 0)
//   body     every step as 2 bytes (see encodeStep), the steps numbered from 1 by their place;
//            after every 60th step the 8-byte checksum of the match once that step ran
//   trailer  4 bytes step count, 8 bytes checksum of the match after the last step, from
//            version 5 on 3 bytes the result (see ReplayResult): 1 byte the winner of the last
//            match decided (0 none, 1 the first player, 2 the second, 3 a draw), 1 byte each
//            player's rounds won (0 without a winner); 8 bytes FNV-1a of everything before it
// The recorder writes it, ReplayHeader and the reader check every part of it before a replay
// starts.
namespace ReplayFormat {

constexpr char magic[8] = {'V', 'O', 'R', 'R', 'A', 'K', 'R', 'P'};
// The recorder writes version 5. Older files are still read: version 1, without the rules, holds
// a plain match; versions 2 (from the match's start) and 3 (from a saved match, in the codec's
// first layout, numbered from 0) hold the rules without their version, which are the first
// versus rules; versions 1 to 4 name no fighters: the default one plays both sides.
constexpr std::uint16_t version = 5;
constexpr std::uint16_t oldestVersion = 1;
constexpr std::uint64_t maxStateSize = 16384;
constexpr int checkpointInterval = 60;
constexpr std::uint64_t rulesSize(unsigned fileVersion = version) {
    return fileVersion < 2 ? 0 : fileVersion < 4 ? 1 + 1 + 4 : 1 + 1 + 4 + 1;
}
// A name's length byte, the longest name and the fingerprint, for each fighter and the stage.
constexpr std::uint64_t longestLineupSize = 3 * (1 + 64 + 8);
constexpr std::uint64_t modeSize = 3;
// No header is longer: the longest names and the largest saved match.
constexpr std::uint64_t longestHeaderSize =
    8 + 2 + longestLineupSize + modeSize + rulesSize() + 4 + maxStateSize + 4;
constexpr std::uint64_t resultSize = 3;
constexpr std::uint64_t trailerSize(unsigned fileVersion = version) {
    return 4 + 8 + (fileVersion >= 5 ? resultSize : 0) + 8;
}
constexpr std::uint64_t longestTrailerSize = trailerSize(version);
constexpr std::uint64_t stepSize = 2;
constexpr std::uint64_t checksumSize = 8;
// A day of play: longer matches are recorded up to here, and a file that claims more, or is
// larger than such a match takes, is refused unread.
constexpr std::uint64_t maxSteps = 24ull * 60 * 60 * 60;
// The largest number a first step may have: the numbers of all its steps fit an int.
constexpr std::uint64_t maxFirstStep = 0x7fffffff - maxSteps;

constexpr std::uint64_t bodySize(std::uint64_t steps) {
    return steps * stepSize + steps / checkpointInterval * checksumSize;
}
// No replay file is larger.
constexpr std::uint64_t largestFileSize =
    longestHeaderSize + bodySize(maxSteps) + longestTrailerSize;

// Per player 4 bits of direction and 2 of presses, the first player in the low bits; the four
// program keys in the top 4 bits. Frame numbers are not stored: the fighters' histories number
// the frames as they take them.
inline std::uint16_t encodeStep(const StepInput& input) {
    std::uint16_t bits = 0;
    for (int player = 0; player < 2; ++player)
        bits |= static_cast<std::uint16_t>(input.players[player].inputBits()
                                           << (InputFrame::inputBitCount * player));
    const ProgramKeys& keys = input.keys;
    bits |= static_cast<std::uint16_t>(
        unsigned{keys.quit} << 12 | unsigned{keys.hideDebugDisplays} << 13 |
        unsigned{keys.showInputPanels} << 14 | unsigned{keys.showHitboxes} << 15);
    return bits;
}

// Every 16-bit value but those with a direction above 8 is a step.
inline bool isValidStep(std::uint16_t bits) {
    return InputFrame::validInputBits(bits) &&
           InputFrame::validInputBits(bits >> InputFrame::inputBitCount);
}

// Only a value that isValidStep accepts.
inline StepInput decodeStep(std::uint16_t bits) {
    StepInput input;
    for (int player = 0; player < 2; ++player)
        input.players[player] = InputFrame::fromInputBits(
            bits >> (InputFrame::inputBitCount * player) & InputFrame::inputBitMask);
    input.keys.quit = bits >> 12 & 1;
    input.keys.hideDebugDisplays = bits >> 13 & 1;
    input.keys.showInputPanels = bits >> 14 & 1;
    input.keys.showHitboxes = bits >> 15 & 1;
    return input;
}

} // namespace ReplayFormat
