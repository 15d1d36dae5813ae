#include "match/checksum.h"

#include <string>
#include <tuple>
#include <vector>

#include "match/stateFields.h"

namespace {

const char* const ownerNames[] = {"Player1", "Player2", "panel 1", "panel 2"};

// One multiply-rotate round per word, as in the common fast hashes: every bit of every word
// reaches the whole value, and the order of the words counts.
struct Hasher {
    std::uint64_t value = 0x9e3779b97f4a7c15ull;

    void operator()(int, const char*, std::uint64_t word) {
        value ^= word * 0xc2b2ae3d27d4eb4full;
        value = (value << 31 | value >> 33) * 0x9e3779b185ebca87ull;
    }
};

using Field = std::tuple<int, const char*, std::uint64_t>;

std::vector<Field> fieldsOf(const MatchState& state) {
    std::vector<Field> fields;
    stateFields::visit(state, [&fields](int owner, const char* name, std::uint64_t word) {
        fields.emplace_back(owner, name, word);
    });
    return fields;
}

void addName(std::vector<std::string>& names, std::string name) {
    for (const std::string& known : names)
        if (known == name)
            return;
    names.push_back(std::move(name));
}

} // namespace

std::uint64_t checksum(const MatchState& state) {
    Hasher hasher;
    stateFields::visit(state, hasher);
    return hasher.value ^ hasher.value >> 29;
}

std::string differences(const MatchState& a, const MatchState& b) {
    const std::vector<Field> first = fieldsOf(a);
    const std::vector<Field> second = fieldsOf(b);
    std::vector<std::string> names;
    for (std::size_t i = 0; i < first.size() && i < second.size(); ++i) {
        const auto& [owner, name, word] = first[i];
        const auto& [otherOwner, otherName, otherWord] = second[i];
        // Panels with a different number of rows part ways here; their state word differs too.
        if (owner != otherOwner || std::string(name) != otherName)
            break;
        if (word != otherWord)
            addName(names, std::string(ownerNames[owner]) + " " + name);
    }
    std::string list;
    for (const std::string& name : names)
        list += (list.empty() ? "" : ", ") + name;
    return list;
}
