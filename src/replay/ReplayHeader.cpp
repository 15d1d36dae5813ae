#include "replay/ReplayHeader.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "replay/ReplayError.h"
#include "roster/Roster.h"

namespace {

[[noreturn]] void refuse(const std::string& reason) {
    throw ReplayError(reason);
}

// Reads the header's numbers in order; a read past the bytes there are is a truncated file.
class Cursor {
public:
    Cursor(const unsigned char* bytes, std::size_t available)
        : bytes(bytes), available(available) {}

    std::uint64_t word(int size) {
        need(static_cast<std::uint64_t>(size));
        std::uint64_t value = 0;
        for (int i = 0; i < size; ++i)
            value |= std::uint64_t{bytes[at++]} << (8 * i);
        return value;
    }
    std::string text(std::uint64_t size) {
        need(size);
        std::string read(reinterpret_cast<const char*>(bytes + at), size);
        at += size;
        return read;
    }
    void skip(std::uint64_t size) {
        need(size);
        at += size;
    }

    std::uint64_t at = 0;

private:
    void need(std::uint64_t size) const {
        if (available - at < size)
            refuse("the file is truncated");
    }

    const unsigned char* bytes;
    std::uint64_t available;
};

unsigned formatOf(const unsigned char* bytes, std::size_t available, std::uint64_t fileSize) {
    using namespace ReplayFormat;
    if (fileSize == 0)
        refuse("the file is empty");
    if (std::memcmp(bytes, magic, std::min<std::uint64_t>(available, sizeof magic)) != 0)
        refuse("the file is not a Vorrak replay");
    if (available < sizeof magic + 2)
        refuse("the file is truncated");
    const auto format = static_cast<unsigned>(bytes[8] | bytes[9] << 8);
    if (format > version)
        refuse("it was recorded by a newer Vorrak (replay format " + std::to_string(format) +
               "; this one reads format " + std::to_string(version) + ")");
    if (format < oldestVersion)
        refuse("unknown replay format " + std::to_string(format));
    return format;
}

Lineup::Entry entryOf(Cursor& in, const char* what) {
    Lineup::Entry entry;
    entry.name = in.text(in.word(1));
    if (!Lineup::validName(entry.name))
        refuse(std::string("the file is damaged (its ") + what + "'s name cannot be one)");
    entry.fingerprint = in.word(8);
    return entry;
}

void readLineupAndMode(Cursor& in, ReplayHeader& header) {
    header.lineup.fighters[0] = entryOf(in, "left fighter");
    header.lineup.fighters[1] = entryOf(in, "right fighter");
    header.lineup.stage = entryOf(in, "stage");
    ReplayMode mode;
    mode.kind = static_cast<ReplayMode::Kind>(in.word(1));
    mode.cpuLevel = static_cast<int>(in.word(1));
    mode.cpuSide = static_cast<int>(in.word(1));
    if (!mode.valid())
        refuse("the file is damaged (it names a mode this Vorrak does not have)");
    header.mode = mode;
}

// Files from before the rules had a version play by the first ones.
MatchRules rulesOf(Cursor& in, unsigned format) {
    MatchRules rules;
    if (format < 2)
        return rules;
    const std::uint64_t versus = in.word(1);
    rules.rounds = static_cast<int>(in.word(1));
    rules.roundSteps = static_cast<std::int32_t>(in.word(4));
    rules.version = format >= 4 ? static_cast<int>(in.word(1)) : MatchRules::firstVersion;
    rules.versus = versus == 1;
    if (versus > 1 || !rules.valid())
        refuse("the file is damaged (it names rules this Vorrak does not have)");
    return rules;
}

} // namespace

ReplayHeader ReplayHeader::parse(const unsigned char* bytes, std::size_t available,
                                 std::uint64_t fileSize) {
    using namespace ReplayFormat;
    ReplayHeader header;
    header.formatVersion = formatOf(bytes, available, fileSize);
    const unsigned format = header.formatVersion;
    // What is read must lie before a closing record.
    const std::uint64_t trailer = trailerSize(format);
    Cursor in(bytes,
              std::min<std::uint64_t>(available, fileSize < trailer ? 0 : fileSize - trailer));
    in.skip(sizeof magic + 2);
    if (format >= 5) {
        readLineupAndMode(in, header);
    } else {
        header.characterHash = in.word(8);
        header.lineup.fighters[0].name = header.lineup.fighters[1].name = Roster::defaultFighter;
        header.lineup.stage.name = Roster::defaultStage;
    }
    header.rulesAt = in.at;
    header.rules = rulesOf(in, format);
    if (format >= 3) {
        header.stateSize = in.word(4);
        header.stateAt = in.at;
        if (header.stateSize > maxStateSize || available - in.at < header.stateSize ||
            fileSize - trailer - in.at < header.stateSize + (format >= 4 ? 4 : 0))
            refuse("the file is truncated or damaged (its saved match does not fit in it)");
        in.skip(header.stateSize);
    }
    if (format >= 4) {
        const std::uint64_t firstStep = in.word(4);
        if (firstStep > maxFirstStep || (header.stateSize == 0 && firstStep != 0))
            refuse("the file is damaged (its first step's number, " + std::to_string(firstStep) +
                   ", is out of range)");
        header.firstStep = static_cast<int>(firstStep);
    }
    header.size = in.at;
    return header;
}
