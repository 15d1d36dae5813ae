#pragma once

#include <cstdint>
#include <variant>
#include <vector>

#include "match/MatchRules.h"
#include "roster/Lineup.h"

// What the two sides of an online match say to each other, and the host to its spectators.
// Rules, Checksum and Quit travel on the reliable channel, Inputs on the unreliable one; Hello
// goes unreliably and again until it is answered, as ENet's own resends come too slowly for a
// lossy link. Everything for a spectator goes reliably. Every message after the handshake
// carries the session id the host chose, so stray packets of another session are told apart.
namespace net {

// 2: every packet carries ENet's CRC32, and a Quit that ends the match by agreement carries the
// sender's frame count. 3: the rules of the match travel in the handshake. 4: spectators.
// 5: the rules carry their version, and a saved match the fighters' fields of fair fights.
// 6: each side chooses its fighter (Choice), the host the stage, and spectators learn them.
constexpr std::uint16_t protocolVersion = 6;
// The most input frames one Inputs message carries, and confirmed steps one Steps message.
constexpr int maxFramesPerMessage = 64;
// The largest saved match a Start message carries.
constexpr int maxStateBytes = 16384;

// The first message of each side: the guest's carries session 0, the host's the session id.
// dataHash was the character data's fingerprint before protocol 6; the fighters now travel in
// the Choice and it is 0, kept for the layout, which never changes.
struct Hello {
    std::uint16_t version = protocolVersion;
    std::uint64_t dataHash = 0;
    std::uint32_t session = 0;
};

// Sent by each side right after its Hello: the rules it was started with. Both must play by
// the same ones.
struct Rules {
    MatchRules rules;
};

// Sent by each side right after its Rules: the fighter its player chose (the host plays the
// left one, the guest the right one) and, from the host, the stage, which is the match's (the
// guest's is empty). Each by name and the fingerprint of its file: the other side must have
// the same file under that name.
struct Choice {
    Lineup::Entry fighter;
    Lineup::Entry stage;
};

// The sender's input frames for steps firstStep, firstStep + 1, ...: every one the receiver has
// not acknowledged yet (there may be none). received: how many of the receiver's frames the
// sender holds, all from step 0 on. For the time sync: step, the sender's next step, and
// advantage, how many steps the sender thinks it runs ahead of the receiver.
struct Inputs {
    std::uint32_t session = 0;
    std::int32_t firstStep = 0;
    std::int32_t received = 0;
    std::int32_t step = 0;
    std::int8_t advantage = 0;
    std::vector<std::uint16_t> frames;
};

// The checksum of the match before the step, once both sides' inputs up to it are known.
struct Checksum {
    std::uint32_t session = 0;
    std::int32_t step = 0;
    std::uint64_t value = 0;
};

enum class QuitReason : std::uint8_t {
    Escape = 0,   // the player pressed Escape
    Closed = 1,   // the window was closed or the program got a signal
    Mismatch = 2, // version or rules differ
    Desync = 3,   // the checksums of a step differ (step names it)
    Protocol = 4, // a malformed packet arrived
    Lost = 5,     // to a spectator: the connection between the players was lost
    // The sender lacks the receiver's fighter, or has another file of it; likewise the host's
    // stage.
    LacksFighter = 6,
    OtherFighter = 7,
    LacksStage = 8,
    OtherStage = 9,
};
constexpr std::uint8_t quitReasonCount = 10;

// Escape and Closed end the match by agreement: the sender's every frame went before it on the
// reliable channel, and step is how many it has. Desync names the step that differs.
struct Quit {
    std::uint32_t session = 0;
    QuitReason reason = QuitReason::Escape;
    std::int32_t step = 0;
};

// The host to a spectator, after its Hello: the spectator's match begins before step `step`
// with these fighters and stage, under these rules, from the confirmed match `state`
// (MatchStateCodec's bytes) unless it is the first step.
struct Start {
    std::uint32_t session = 0;
    std::int32_t step = 0;
    Lineup lineup;
    MatchRules rules;
    std::vector<std::uint8_t> state;
};

// The host to a spectator: confirmed steps firstStep, firstStep + 1, ... in the replay file's
// two-byte form. The host's Checksums and, at the end, a Quit naming the last step follow on
// the same channel.
struct Steps {
    std::uint32_t session = 0;
    std::int32_t firstStep = 0;
    std::vector<std::uint16_t> steps;
};

// A spectator to the host, now and then: the steps it has shown, so one too far behind is let
// go.
struct Watching {
    std::uint32_t session = 0;
    std::int32_t played = 0;
};

using Message = std::variant<Hello, Inputs, Checksum, Quit, Rules, Start, Steps, Watching, Choice>;

} // namespace net
