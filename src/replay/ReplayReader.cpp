#include "replay/ReplayReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iomanip>
#include <sstream>

#include <fcntl.h>
#include <unistd.h>

#include "match/MatchStateCodec.h"
#include "replay/Fnv1a.h"
#include "replay/ReplayError.h"
#include "replay/ReplayHeader.h"
#include "replay/ReplayTrailer.h"

namespace {

[[noreturn]] void refuse(const std::string& source, const std::string& reason) {
    throw ReplayError("Cannot play back '" + source + "': " + reason);
}

std::string hex(std::uint64_t value) {
    std::ostringstream text;
    text << std::hex << std::setw(16) << std::setfill('0') << value;
    return text.str();
}

// Reads little-endian numbers from a buffer whose length was checked beforehand.
class Cursor {
public:
    Cursor(const std::string& bytes, std::uint64_t at) : bytes(bytes), at(at) {}

    std::uint64_t word(int size) {
        std::uint64_t value = 0;
        for (int i = 0; i < size; ++i)
            value |= std::uint64_t{static_cast<unsigned char>(bytes[at + i])} << (8 * i);
        at += static_cast<std::uint64_t>(size);
        return value;
    }

private:
    const std::string& bytes;
    std::uint64_t at;
};

// Fills bytes from the file, or refuses with the system's reason ("Permission denied").
void readAll(const std::string& path, std::string& bytes) {
    const int file = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0)
        refuse(path, std::strerror(errno));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = read(file, bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            const int error = errno;
            close(file);
            refuse(path, got < 0 ? std::strerror(error) : "the file is truncated");
        }
        done += static_cast<std::size_t>(got);
    }
    close(file);
}

// The most steps a file of this length holds whole.
std::uint64_t stepsWithin(std::uint64_t size, const ReplayHeader& header) {
    std::uint64_t low = 0, high = ReplayFormat::maxSteps;
    while (low < high) {
        const std::uint64_t middle = (low + high + 1) / 2;
        if (header.fileSize(middle) <= size)
            low = middle;
        else
            high = middle - 1;
    }
    return low;
}

// The length of a whole recording, closing record and check value and all, that the file's
// first bytes hold and bytes after it follow; 0 when there is none. One pass over the file:
// the check value of every shorter recording is the hash of a part of the longer's bytes.
std::uint64_t wholeRecordingBefore(const std::string& bytes, const ReplayHeader& header) {
    const std::uint64_t closing = ReplayFormat::trailerSize(header.formatVersion);
    Fnv1a hash;
    std::uint64_t hashed = 0;
    for (std::uint64_t steps = 0;; ++steps) {
        const std::uint64_t end = header.fileSize(steps);
        if (end >= bytes.size())
            return 0;
        hash.addBytes(bytes.data() + hashed, end - 8 - hashed);
        hashed = end - 8;
        if (Cursor(bytes, end - closing).word(4) == steps &&
            Cursor(bytes, end - 8).word(8) == hash.value)
            return end;
    }
}

// A file whose length and closing count of steps disagree. One with bytes added after a whole
// recording says so. A file cut short loses the end of its closing record, so the count read
// there is noise: named only beside what the length fits, and a length that fits no whole
// number of steps is said to be cut short.
[[noreturn]] void refuseLength(const std::string& bytes, const ReplayHeader& header,
                               std::uint64_t claimed, const std::string& source) {
    const std::uint64_t size = bytes.size();
    if (const std::uint64_t whole = wholeRecordingBefore(bytes, header))
        refuse(source, "the file is too long (its recording ends at byte " +
                           std::to_string(whole) + " of " + std::to_string(size) + ")");
    const std::uint64_t fitting = stepsWithin(size, header);
    if (header.fileSize(fitting) != size)
        refuse(source, "the file is cut short (its " + std::to_string(size) +
                           " bytes end inside a step or its closing record)");
    refuse(source, "the file is cut short or damaged (its length fits " + std::to_string(fitting) +
                       " steps, its closing record says " + std::to_string(claimed) + ")");
}

} // namespace

Replay readReplay(const std::string& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (error)
        refuse(path, error.message());
    if (!std::filesystem::is_regular_file(status))
        refuse(path, "it is not a regular file");
    const std::uint64_t size = std::filesystem::file_size(path, error);
    if (error)
        refuse(path, error.message());
    const std::uint64_t largest = ReplayFormat::largestFileSize;
    if (size > largest)
        refuse(path, "the file is too large for a replay (" + std::to_string(size) +
                         " bytes; a day of play takes " + std::to_string(largest) + ")");

    std::string bytes(size, '\0');
    readAll(path, bytes);
    return parseReplay(bytes, path);
}

Replay parseReplay(const std::string& bytes, const std::string& source) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    ReplayHeader header;
    try {
        header = ReplayHeader::parse(data, bytes.size(), bytes.size());
    } catch (const ReplayError& error) {
        refuse(source, error.what());
    }
    const unsigned version = header.formatVersion;
    Replay replay;
    replay.source = source;
    replay.formatVersion = version;
    replay.lineup = header.lineup;
    replay.characterHash = header.characterHash;
    replay.mode = header.mode;
    replay.rules = header.rules;
    replay.firstStep = header.firstStep;

    const std::uint64_t trailerAt = bytes.size() - ReplayFormat::trailerSize(version);
    const ReplayTrailer trailer = ReplayTrailer::parse(data + trailerAt, version, header.rules);
    const std::uint64_t stepCount = trailer.steps;
    replay.finalChecksum = trailer.finalChecksum;
    replay.result = trailer.result;
    if (stepCount > ReplayFormat::maxSteps || header.fileSize(stepCount) != bytes.size())
        refuseLength(bytes, header, stepCount, source);
    Fnv1a hash;
    hash.addBytes(bytes.data(), bytes.size() - 8);
    if (hash.value != trailer.check)
        refuse(source, "the file is damaged (its contents do not match their check value)");
    if (trailer.damagedResult)
        refuse(source, "the file is damaged (its result cannot be)");
    if (header.startsMidMatch()) {
        const int layout =
            version >= 4 ? MatchStateCodec::latestLayout : MatchStateCodec::firstLayout;
        replay.start = MatchStateCodec::decode(data + header.stateAt, header.stateSize, layout);
        if (!replay.start || replay.start->rules != replay.rules)
            refuse(source, "the file is damaged (the match it starts from cannot be read)");
    }

    Cursor body(bytes, header.size);
    replay.steps.reserve(stepCount);
    for (std::uint64_t step = 1; step <= stepCount; ++step) {
        const auto bits = static_cast<std::uint16_t>(body.word(2));
        if (!ReplayFormat::isValidStep(bits))
            refuse(source, "the file is damaged (step " + std::to_string(step) +
                               " has a direction that does not exist)");
        if (!replay.steps.empty() && ReplayFormat::decodeStep(replay.steps.back()).keys.quit)
            refuse(source, "the file is damaged (steps follow the quit at step " +
                               std::to_string(step - 1) + ")");
        replay.steps.push_back(bits);
        if (step % ReplayFormat::checkpointInterval == 0)
            replay.checkpoints.push_back(body.word(8));
    }
    return replay;
}

void requireCharacterData(const Replay& replay, std::uint64_t characterHash) {
    if (replay.formatVersion < 5 && replay.characterHash != characterHash)
        refuse(replay.source, "it was recorded with other character data (" +
                                  hex(replay.characterHash) + ") than this Vorrak has (" +
                                  hex(characterHash) + ")");
}

void requireLineup(const Replay& replay, const Lineup& loaded) {
    if (replay.formatVersion < 5)
        return;
    const char* const roles[3] = {"left fighter", "right fighter", "stage"};
    const Lineup::Entry* const recorded[3] = {&replay.lineup.fighters[0],
                                              &replay.lineup.fighters[1], &replay.lineup.stage};
    const Lineup::Entry* const here[3] = {&loaded.fighters[0], &loaded.fighters[1], &loaded.stage};
    for (int i = 0; i < 3; ++i) {
        if (recorded[i]->name != here[i]->name)
            refuse(replay.source, std::string("its ") + roles[i] + " is '" + recorded[i]->name +
                                      "', not '" + here[i]->name + "'");
        if (recorded[i]->fingerprint != here[i]->fingerprint)
            refuse(replay.source, std::string("its ") + roles[i] + " '" + recorded[i]->name +
                                      "' was recorded from another file than this Vorrak's (" +
                                      hex(recorded[i]->fingerprint) + ", here " +
                                      hex(here[i]->fingerprint) + ")");
    }
}
