#include "replay/ReplayRecorder.h"

#include <cerrno>
#include <cstring>
#include <iostream>

#include "match/checksum.h"
#include "replay/ReplayError.h"
#include "replay/ReplayFormat.h"

ReplayRecorder::ReplayRecorder(std::string path, std::uint64_t characterHash,
                               const MatchRules& rules)
    : path(std::move(path)), temporaryPath(this->path + ".recording") {
    file = std::fopen(temporaryPath.c_str(), "wb");
    if (!file)
        throw ReplayError("Cannot record into '" + this->path + "': " + std::strerror(errno));
    write(ReplayFormat::magic, sizeof ReplayFormat::magic);
    writeWord(ReplayFormat::version, 2);
    writeWord(characterHash, 8);
    writeWord(rules.versus, 1);
    writeWord(static_cast<std::uint64_t>(rules.rounds), 1);
    writeWord(static_cast<std::uint64_t>(rules.roundSteps), 4);
}

ReplayRecorder::~ReplayRecorder() {
    try {
        finish();
    } catch (const std::exception& e) {
        std::cerr << "vorrak: " << e.what() << std::endl;
    }
}

void ReplayRecorder::record(const StepInput& input, const MatchState& after) {
    if (!file || stepCount == ReplayFormat::maxSteps)
        return;
    writeWord(ReplayFormat::encodeStep(input), 2);
    ++stepCount;
    lastChecksum = checksum(after);
    if (stepCount % ReplayFormat::checkpointInterval == 0)
        writeWord(lastChecksum, 8);
}

void ReplayRecorder::finish() {
    if (!file)
        return;
    writeWord(stepCount, 4);
    writeWord(lastChecksum, 8);
    writeWord(hash.value, 8);
    const bool written = !std::ferror(file);
    const bool closed = std::fclose(file) == 0;
    file = nullptr;
    if (!written || !closed) {
        discard();
        throw ReplayError("Cannot record into '" + path + "': writing it failed");
    }
    if (std::rename(temporaryPath.c_str(), path.c_str()) != 0) {
        const std::string reason = std::strerror(errno);
        discard();
        throw ReplayError("Cannot record into '" + path + "': " + reason);
    }
}

void ReplayRecorder::write(const void* data, std::size_t size) {
    hash.addBytes(data, size);
    std::fwrite(data, 1, size, file);
}

void ReplayRecorder::writeWord(std::uint64_t word, int bytes) {
    unsigned char little[8];
    for (int i = 0; i < bytes; ++i)
        little[i] = static_cast<unsigned char>(word >> (8 * i));
    write(little, static_cast<std::size_t>(bytes));
}

void ReplayRecorder::discard() {
    std::remove(temporaryPath.c_str());
}
