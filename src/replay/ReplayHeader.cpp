#include "replay/ReplayHeader.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "replay/ReplayError.h"

namespace {

[[noreturn]] void refuse(const std::string& reason) {
    throw ReplayError(reason);
}

std::uint64_t word(const unsigned char* bytes, std::uint64_t at, int size) {
    std::uint64_t value = 0;
    for (int i = 0; i < size; ++i)
        value |= std::uint64_t{bytes[at + static_cast<std::uint64_t>(i)]} << (8 * i);
    return value;
}

unsigned formatOf(const unsigned char* bytes, std::size_t available, std::uint64_t fileSize) {
    using namespace ReplayFormat;
    if (fileSize == 0)
        refuse("the file is empty");
    if (std::memcmp(bytes, magic, std::min<std::uint64_t>(available, sizeof magic)) != 0)
        refuse("the file is not a Vorrak replay");
    if (available < sizeof magic + 2)
        refuse("the file is truncated");
    const auto format = static_cast<unsigned>(word(bytes, sizeof magic, 2));
    if (format > version)
        refuse("it was recorded by a newer Vorrak (replay format " + std::to_string(format) +
               "; this one reads format " + std::to_string(version) + ")");
    if (format < oldestVersion)
        refuse("unknown replay format " + std::to_string(format));
    if (fileSize < headerSize(format) + trailerSize || available < headerSize(format))
        refuse("the file is truncated");
    return format;
}

// Files from before the rules had a version play by the first ones.
MatchRules rulesOf(const unsigned char* bytes, unsigned format) {
    MatchRules rules;
    if (format < 2)
        return rules;
    const std::uint64_t at = ReplayFormat::rulesAt;
    const std::uint64_t versus = word(bytes, at, 1);
    rules.rounds = static_cast<int>(word(bytes, at + 1, 1));
    rules.roundSteps = static_cast<std::int32_t>(word(bytes, at + 2, 4));
    rules.version = format >= 4 ? static_cast<int>(word(bytes, at + 6, 1)) : MatchRules::firstVersion;
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
    header.characterHash = word(bytes, sizeof magic + 2, 8);
    if (format >= 3)
        header.stateSize = word(bytes, stateSizeAt(format), 4);
    if (header.stateSize > maxStateSize ||
        fileSize < headerSize(format, header.stateSize) + trailerSize ||
        available < headerSize(format, header.stateSize))
        refuse("the file is truncated or damaged (its saved match does not fit in it)");
    header.rules = rulesOf(bytes, format);
    if (format < 4)
        return header;
    const std::uint64_t firstStep = word(bytes, firstStepAt(format, header.stateSize), 4);
    if (firstStep > maxFirstStep || (header.stateSize == 0 && firstStep != 0))
        refuse("the file is damaged (its first step's number, " + std::to_string(firstStep) +
               ", is out of range)");
    header.firstStep = static_cast<int>(firstStep);
    return header;
}
