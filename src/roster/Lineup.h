#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "replay/Fnv1a.h"

// The fighters of a match, left and right, and its stage, as recordings and online play name
// them: each by the name players type and the fingerprint of its file, so that the other end
// plays the very same ones or says which it lacks. Filled from what was loaded (the fighters'
// CharacterData and the StageData carry their fingerprints) and checked against a Roster.
struct Lineup {
    struct Entry {
        std::string name;
        std::uint64_t fingerprint = 0;

        bool operator==(const Entry& other) const {
            return name == other.name && fingerprint == other.fingerprint;
        }
        bool operator!=(const Entry& other) const { return !(*this == other); }
    };

    // The longest name a recording or a message carries.
    static constexpr std::size_t maxNameLength = 64;

    // A name players can type: 1 to maxNameLength letters, digits, '-' and '_', not starting
    // with '-'.
    static bool validName(const std::string& name) {
        if (name.empty() || name.size() > maxNameLength || name[0] == '-')
            return false;
        for (char c : name)
            if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                  c == '-' || c == '_'))
                return false;
        return true;
    }
    // A fighter's or stage's fingerprint: its file's bytes, every one of them.
    static std::uint64_t fingerprintOf(const std::string& fileText) {
        Fnv1a hash;
        hash.addBytes(fileText.data(), fileText.size());
        return hash.value;
    }

    std::array<Entry, 2> fighters;
    Entry stage;

    bool operator==(const Lineup& other) const {
        return fighters == other.fighters && stage == other.stage;
    }
    bool operator!=(const Lineup& other) const { return !(*this == other); }
};
