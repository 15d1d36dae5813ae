#include "net/MessageCodec.h"

#include <string>

#include "files/ByteCursor.h"
#include "net/NetInput.h"
#include "replay/ReplayFormat.h"

namespace {

using namespace net;

constexpr std::uint32_t helloMagic = 0x4e4b5256; // "VRKN"

enum Type : std::uint8_t {
    HelloType = 1,
    InputsType = 2,
    ChecksumType = 3,
    QuitType = 4,
    RulesType = 5,
    StartType = 6,
    StepsType = 7,
    WatchingType = 8,
    ChoiceType = 9,
};

class Writer {
public:
    explicit Writer(Type type) { put(type, 1); }

    void put(std::uint64_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }

    std::vector<std::uint8_t> out;
};

// Reads fixed-size fields; any read past the end marks the whole packet bad.
class Reader : public ByteCursor {
public:
    using ByteCursor::ByteCursor;

    std::int32_t getInt32() { return static_cast<std::int32_t>(get(4)); }
};

struct Encoder {
    std::vector<std::uint8_t> operator()(const Hello& hello) const {
        Writer w(HelloType);
        w.put(helloMagic, 4);
        w.put(hello.version, 2);
        w.put(hello.dataHash, 8);
        w.put(hello.session, 4);
        return w.out;
    }
    std::vector<std::uint8_t> operator()(const Inputs& inputs) const {
        Writer w(InputsType);
        w.put(inputs.session, 4);
        w.put(static_cast<std::uint32_t>(inputs.firstStep), 4);
        w.put(static_cast<std::uint32_t>(inputs.received), 4);
        w.put(static_cast<std::uint32_t>(inputs.step), 4);
        w.put(static_cast<std::uint8_t>(inputs.advantage), 1);
        w.put(inputs.frames.size(), 1);
        for (std::uint16_t frame : inputs.frames)
            w.put(frame, 2);
        return w.out;
    }
    std::vector<std::uint8_t> operator()(const Checksum& checksum) const {
        Writer w(ChecksumType);
        w.put(checksum.session, 4);
        w.put(static_cast<std::uint32_t>(checksum.step), 4);
        w.put(checksum.value, 8);
        return w.out;
    }
    std::vector<std::uint8_t> operator()(const Rules& rules) const {
        Writer w(RulesType);
        putRules(w, rules.rules);
        return w.out;
    }
    static void putRules(Writer& w, const MatchRules& rules) {
        w.put(rules.versus, 1);
        w.put(static_cast<std::uint32_t>(rules.rounds), 1);
        w.put(static_cast<std::uint32_t>(rules.roundSteps), 4);
        w.put(static_cast<std::uint32_t>(rules.version), 1);
    }
    // A name's length byte, the name and the fingerprint; an empty name for none.
    static void putEntry(Writer& w, const Lineup::Entry& entry) {
        w.put(entry.name.size(), 1);
        w.out.insert(w.out.end(), entry.name.begin(), entry.name.end());
        w.put(entry.fingerprint, 8);
    }
    std::vector<std::uint8_t> operator()(const Choice& choice) const {
        Writer w(ChoiceType);
        putEntry(w, choice.fighter);
        putEntry(w, choice.stage);
        return w.out;
    }
    std::vector<std::uint8_t> operator()(const Start& start) const {
        Writer w(StartType);
        w.put(start.session, 4);
        w.put(static_cast<std::uint32_t>(start.step), 4);
        putEntry(w, start.lineup.fighters[0]);
        putEntry(w, start.lineup.fighters[1]);
        putEntry(w, start.lineup.stage);
        putRules(w, start.rules);
        w.put(start.state.size(), 4);
        w.out.insert(w.out.end(), start.state.begin(), start.state.end());
        return w.out;
    }
    std::vector<std::uint8_t> operator()(const Steps& steps) const {
        Writer w(StepsType);
        w.put(steps.session, 4);
        w.put(static_cast<std::uint32_t>(steps.firstStep), 4);
        w.put(steps.steps.size(), 1);
        for (std::uint16_t step : steps.steps)
            w.put(step, 2);
        return w.out;
    }
    std::vector<std::uint8_t> operator()(const Watching& watching) const {
        Writer w(WatchingType);
        w.put(watching.session, 4);
        w.put(static_cast<std::uint32_t>(watching.played), 4);
        return w.out;
    }
    std::vector<std::uint8_t> operator()(const Quit& quit) const {
        Writer w(QuitType);
        w.put(quit.session, 4);
        w.put(static_cast<std::uint8_t>(quit.reason), 1);
        w.put(static_cast<std::uint32_t>(quit.step), 4);
        return w.out;
    }
};

std::optional<Message> decodeHello(Reader& r) {
    Hello hello;
    const bool magic = r.get(4) == helloMagic;
    hello.version = static_cast<std::uint16_t>(r.get(2));
    hello.dataHash = r.get(8);
    hello.session = static_cast<std::uint32_t>(r.get(4));
    if (!magic || !r.complete())
        return std::nullopt;
    return hello;
}

std::optional<Message> decodeInputs(Reader& r) {
    Inputs inputs;
    inputs.session = static_cast<std::uint32_t>(r.get(4));
    inputs.firstStep = r.getInt32();
    inputs.received = r.getInt32();
    inputs.step = r.getInt32();
    inputs.advantage = static_cast<std::int8_t>(r.get(1));
    const int count = static_cast<int>(r.get(1));
    if (count > maxFramesPerMessage || inputs.firstStep < 0 || inputs.received < 0 ||
        inputs.step < 0)
        return std::nullopt;
    for (int i = 0; i < count; ++i) {
        const auto frame = static_cast<std::uint16_t>(r.get(2));
        if (!NetInput::isValid(frame))
            return std::nullopt;
        inputs.frames.push_back(frame);
    }
    // The last frame's step must be a step number too.
    if (!r.complete() || inputs.firstStep > INT32_MAX - count)
        return std::nullopt;
    return inputs;
}

std::optional<Message> decodeChecksum(Reader& r) {
    Checksum checksum;
    checksum.session = static_cast<std::uint32_t>(r.get(4));
    checksum.step = r.getInt32();
    checksum.value = r.get(8);
    if (!r.complete() || checksum.step < 0)
        return std::nullopt;
    return checksum;
}

std::optional<Message> decodeQuit(Reader& r) {
    Quit quit;
    quit.session = static_cast<std::uint32_t>(r.get(4));
    const auto reason = static_cast<std::uint8_t>(r.get(1));
    quit.step = r.getInt32();
    if (!r.complete() || reason >= quitReasonCount || quit.step < 0)
        return std::nullopt;
    quit.reason = static_cast<QuitReason>(reason);
    return quit;
}

// False when the rules are none this game has.
bool getRules(Reader& r, MatchRules& rules) {
    const std::uint64_t versus = r.get(1);
    rules.versus = versus == 1;
    rules.rounds = static_cast<int>(r.get(1));
    rules.roundSteps = static_cast<std::int32_t>(r.get(4));
    rules.version = static_cast<int>(r.get(1));
    return versus <= 1 && rules.valid();
}

std::optional<Message> decodeRules(Reader& r) {
    Rules rules;
    if (!getRules(r, rules.rules) || !r.complete())
        return std::nullopt;
    return rules;
}

// False for a name no player could type; an empty one only where `none` is allowed.
bool getEntry(Reader& r, Lineup::Entry& entry, bool none = false) {
    entry.name = r.take(static_cast<std::size_t>(r.get(1)));
    entry.fingerprint = r.get(8);
    return Lineup::validName(entry.name) || (none && entry.name.empty() && entry.fingerprint == 0);
}

std::optional<Message> decodeChoice(Reader& r) {
    Choice choice;
    if (!getEntry(r, choice.fighter) || !getEntry(r, choice.stage, true) || !r.complete())
        return std::nullopt;
    return choice;
}

std::optional<Message> decodeStart(Reader& r) {
    Start start;
    start.session = static_cast<std::uint32_t>(r.get(4));
    start.step = r.getInt32();
    const bool lineup = getEntry(r, start.lineup.fighters[0]) &&
                        getEntry(r, start.lineup.fighters[1]) && getEntry(r, start.lineup.stage);
    const bool rules = getRules(r, start.rules);
    const std::uint64_t size = r.get(4);
    if (!lineup || !rules || start.step < 0 || size > maxStateBytes ||
        (start.step > 0) != (size > 0))
        return std::nullopt;
    for (std::uint64_t i = 0; i < size; ++i)
        start.state.push_back(static_cast<std::uint8_t>(r.get(1)));
    if (!r.complete())
        return std::nullopt;
    return start;
}

std::optional<Message> decodeSteps(Reader& r) {
    Steps steps;
    steps.session = static_cast<std::uint32_t>(r.get(4));
    steps.firstStep = r.getInt32();
    const int count = static_cast<int>(r.get(1));
    if (count > maxFramesPerMessage || steps.firstStep < 0)
        return std::nullopt;
    for (int i = 0; i < count; ++i) {
        const auto step = static_cast<std::uint16_t>(r.get(2));
        // No quit: a spectator's match ends where the host says.
        if (!ReplayFormat::isValidStep(step) || ReplayFormat::decodeStep(step).keys.quit)
            return std::nullopt;
        steps.steps.push_back(step);
    }
    if (!r.complete() || steps.firstStep > INT32_MAX - count)
        return std::nullopt;
    return steps;
}

std::optional<Message> decodeWatching(Reader& r) {
    Watching watching;
    watching.session = static_cast<std::uint32_t>(r.get(4));
    watching.played = r.getInt32();
    if (!r.complete() || watching.played < 0)
        return std::nullopt;
    return watching;
}

} // namespace

namespace MessageCodec {

std::vector<std::uint8_t> encode(const Message& message) { return std::visit(Encoder{}, message); }

std::optional<Message> decode(const std::uint8_t* data, std::size_t size) {
    if (!data || size == 0)
        return std::nullopt;
    Reader r(data + 1, size - 1);
    switch (data[0]) {
    case HelloType:
        return decodeHello(r);
    case InputsType:
        return decodeInputs(r);
    case ChecksumType:
        return decodeChecksum(r);
    case QuitType:
        return decodeQuit(r);
    case RulesType:
        return decodeRules(r);
    case StartType:
        return decodeStart(r);
    case StepsType:
        return decodeSteps(r);
    case WatchingType:
        return decodeWatching(r);
    case ChoiceType:
        return decodeChoice(r);
    default:
        return std::nullopt;
    }
}

} // namespace MessageCodec
