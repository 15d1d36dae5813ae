#include "match/checksum.h"

#include <string>
#include <tuple>
#include <vector>

#include "match/stateFields.h"

namespace {

const char* const ownerNames[] = {"Player1", "Player2",      "panel 1",      "panel 2",
                                  "match",   "projectile 1", "projectile 2", "throw"};

// The state's words, gathered first so that the hash below runs over plain memory.
struct WordBuffer {
    // Two fighters of 75 words (2 more under the rules of fair fights), two full panels of 32
    // a versus match's 5 (6 under fair rules), two projectiles' 2 and a throw's 1.
    static constexpr std::size_t capacity = 2 * 77 + 2 * 32 + 6 + 2 * 2 + 1;

    std::uint64_t words[capacity];
    std::size_t size = 0;

    void operator()(int, const char*, std::uint64_t word) { words[size++] = word; }
};

std::uint64_t round(std::uint64_t lane, std::uint64_t word) {
    lane += word * 0xc2b2ae3d27d4eb4full;
    return (lane << 31 | lane >> 33) * 0x9e3779b185ebca87ull;
}

// One multiply-rotate round per word, as in the common fast hashes: every bit of every word
// reaches the whole value, and the order of the words counts. Four lanes take the words in turn,
// so their rounds overlap.
std::uint64_t hashWords(const std::uint64_t* words, std::size_t size) {
    std::uint64_t a = 0x9e3779b97f4a7c15ull, b = 0xc2b2ae3d27d4eb4full;
    std::uint64_t c = 0x165667b19e3779f9ull, d = 0x27d4eb2f165667c5ull;
    std::size_t i = 0;
    for (; i + 4 <= size; i += 4) {
        a = round(a, words[i]);
        b = round(b, words[i + 1]);
        c = round(c, words[i + 2]);
        d = round(d, words[i + 3]);
    }
    for (; i < size; ++i)
        a = round(a, words[i]);
    const std::uint64_t mixed = round(round(round(round(a, b), c), d), size);
    return mixed ^ mixed >> 29;
}

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
    WordBuffer buffer;
    stateFields::visit(state, buffer);
    return hashWords(buffer.words, buffer.size);
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
    if (a.rules != b.rules)
        addName(names, "match rules");
    std::string list;
    for (const std::string& name : names)
        list += (list.empty() ? "" : ", ") + name;
    return list;
}
