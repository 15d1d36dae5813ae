#include "replay/ReplayRecorder.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iomanip>
#include <iostream>
#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "match/MatchStateCodec.h"
#include "match/checksum.h"
#include "replay/ReplayError.h"
#include "replay/ReplayFormat.h"

namespace {

// The recordings not finished yet, for the handlers that end the process at once.
std::vector<ReplayRecorder*>& openRecorders() {
    static std::vector<ReplayRecorder*> recorders;
    return recorders;
}

std::string cannotRecord(const std::string& path, const std::string& reason) {
    return "Cannot record into '" + path + "': " + reason;
}

void refuseFolder(const std::string& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode))
        throw ReplayError(cannotRecord(path, std::strerror(EISDIR)));
}

// A temporary file of this recording's own beside path; throws when none can be made.
int createTemporary(const std::string& path, std::string& temporaryPath) {
    refuseFolder(path);
    temporaryPath = path + ".recording-XXXXXX";
    const int file = mkstemp(temporaryPath.data());
    if (file < 0)
        throw ReplayError(cannotRecord(path, std::strerror(errno)));
    // mkstemp makes the file private; the recording gets the permissions of any new file.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(file, 0666 & ~mask);
    return file;
}

bool writeAll(int file, const unsigned char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(file, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

void putWord(std::vector<unsigned char>& bytes, std::uint64_t word, int size) {
    for (int i = 0; i < size; ++i)
        bytes.push_back(static_cast<unsigned char>(word >> (8 * i)));
}

} // namespace

ReplayRecorder::ReplayRecorder(std::string path, std::uint64_t characterHash,
                               const MatchRules& rules, const MatchState* start)
    : path(std::move(path)) {
    file = createTemporary(this->path, temporaryPath);
    openRecorders().push_back(this);
    write(ReplayFormat::magic, sizeof ReplayFormat::magic);
    writeWord(start ? ReplayFormat::startedVersion : ReplayFormat::version, 2);
    writeWord(characterHash, 8);
    writeWord(rules.versus, 1);
    writeWord(static_cast<std::uint64_t>(rules.rounds), 1);
    writeWord(static_cast<std::uint64_t>(rules.roundSteps), 4);
    if (!start)
        return;
    const std::vector<std::uint8_t> state = MatchStateCodec::encode(*start);
    writeWord(state.size(), 4);
    write(state.data(), state.size());
}

ReplayRecorder::~ReplayRecorder() {
    try {
        finish();
    } catch (const std::exception& e) {
        std::cerr << "vorrak: " << e.what() << std::endl;
    }
}

void ReplayRecorder::checkTarget(const std::string& path) {
    std::string probe;
    close(createTemporary(path, probe));
    unlink(probe.c_str());
}

void ReplayRecorder::record(const StepInput& input, const MatchState& after) {
    if (file < 0 || !writeError.empty() || stepCount == ReplayFormat::maxSteps)
        return;
    writeWord(ReplayFormat::encodeStep(input), 2);
    ++stepCount;
    lastChecksum = checksum(after);
    if (stepCount % ReplayFormat::checkpointInterval == 0)
        writeWord(lastChecksum, 8);
    if (stepCount % flushInterval == 0 && !flush() && onWriteFailure)
        onWriteFailure("Recording into '" + path + "' failed: " + writeError +
                       ". The match plays on.");
}

void ReplayRecorder::finish() {
    if (file < 0)
        return;
    auto& recorders = openRecorders();
    recorders.erase(std::remove(recorders.begin(), recorders.end(), this), recorders.end());
    if (writeError.empty())
        flush();
    // A recording that failed before its first step was written keeps nothing.
    const bool kept = (writeError.empty() || written.steps > 0) && completeFrom(written);
    if (close(file) != 0 && writeError.empty())
        writeError = std::strerror(errno);
    file = -1;
    if (kept && std::rename(temporaryPath.c_str(), path.c_str()) != 0) {
        const std::string reason = std::strerror(errno);
        unlink(temporaryPath.c_str());
        throw ReplayError(cannotRecord(path, reason + "; nothing was kept"));
    }
    if (!kept)
        unlink(temporaryPath.c_str());
    if (writeError.empty())
        return;
    std::ostringstream text;
    text << cannotRecord(path, writeError) << "; ";
    if (kept)
        text << "its first " << written.steps << " steps (" << std::fixed << std::setprecision(1)
             << written.steps / 60.0 << " s of play) were kept";
    else
        text << "nothing was kept";
    throw ReplayError(text.str());
}

void ReplayRecorder::finishAllOpen() {
    const std::vector<ReplayRecorder*> recorders = openRecorders();
    for (ReplayRecorder* recorder : recorders) {
        try {
            recorder->finish();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "vorrak: %s\n", e.what());
        }
    }
}

void ReplayRecorder::write(const void* data, std::size_t size) {
    hash.addBytes(data, size);
    const auto* bytes = static_cast<const unsigned char*>(data);
    pending.insert(pending.end(), bytes, bytes + size);
}

void ReplayRecorder::writeWord(std::uint64_t word, int bytes) {
    unsigned char little[8];
    for (int i = 0; i < bytes; ++i)
        little[i] = static_cast<unsigned char>(word >> (8 * i));
    write(little, static_cast<std::size_t>(bytes));
}

bool ReplayRecorder::flush() {
    if (!writeAll(file, pending.data(), pending.size())) {
        writeError = std::strerror(errno);
        return false;
    }
    written.bytes += pending.size();
    written.steps = stepCount;
    written.lastChecksum = lastChecksum;
    written.hash = hash;
    pending.clear();
    return true;
}

// Ends the file after the steps written up to point with the trailer: whatever a failed write
// left beyond them is cut off.
bool ReplayRecorder::completeFrom(const Written& point) {
    std::vector<unsigned char> trailer;
    putWord(trailer, point.steps, 4);
    putWord(trailer, point.lastChecksum, 8);
    Fnv1a trailerHash = point.hash;
    trailerHash.addBytes(trailer.data(), trailer.size());
    putWord(trailer, trailerHash.value, 8);
    const bool complete =
        ftruncate(file, static_cast<off_t>(point.bytes)) == 0 &&
        lseek(file, static_cast<off_t>(point.bytes), SEEK_SET) >= 0 &&
        writeAll(file, trailer.data(), trailer.size()) && fsync(file) == 0;
    if (!complete && writeError.empty())
        writeError = std::strerror(errno);
    return complete;
}
