#include "replay/ReplayRecorder.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <iomanip>
#include <iostream>
#include <iterator>
#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "match/MatchState.h"
#include "match/MatchStateCodec.h"
#include "match/checksum.h"
#include "replay/ReplayError.h"
#include "replay/ReplayFormat.h"

namespace {

// The recordings not finished yet, for the handlers that end the process at once; a fixed
// table, so that a signal handler can read it while the game adds to it. The game records one
// match at a time.
std::atomic<ReplayRecorder*> openRecorders[4];

std::string cannotRecord(const std::string& path, const std::string& reason) {
    return "Cannot record into '" + path + "': " + reason;
}

// Whether renaming onto path replaces at most a regular file: nothing there, a regular file, a
// link to one or a link to nothing (the link itself is replaced). Safe in a signal handler.
bool onlyAFileAt(const char* path) {
    struct stat status {};
    if (lstat(path, &status) != 0)
        return errno == ENOENT;
    if (S_ISLNK(status.st_mode) && stat(path, &status) != 0)
        return errno == ENOENT;
    return S_ISREG(status.st_mode);
}

void refuseNonRegular(const std::string& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode))
        throw ReplayError(cannotRecord(path, std::strerror(EISDIR)));
    if (!onlyAFileAt(path.c_str()))
        throw ReplayError(cannotRecord(path, "it is not a regular file"));
}

// FILE.recording-XXXXXX, or .vrp-XXXXXX in the same folder when that name would be too long
// for the file system: a name that fits is always recorded into.
std::string temporaryPattern(const std::string& path) {
    const std::string suffix = ".recording-XXXXXX";
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const long limit = pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
    const std::size_t nameMax = limit > 0 ? static_cast<std::size_t>(limit) : NAME_MAX;
    if (path.size() - folder.size() + suffix.size() <= nameMax &&
        path.size() + suffix.size() < PATH_MAX)
        return path + suffix;
    return folder + ".vrp-XXXXXX";
}

// A temporary file of this recording's own beside path; throws when none can be made.
int createTemporary(const std::string& path, std::string& temporaryPath) {
    refuseNonRegular(path);
    temporaryPath = temporaryPattern(path);
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

// One line on stderr from a signal handler: no allocation, no stdio.
void tell(std::initializer_list<const char*> parts) {
    for (const char* part : parts)
        writeAll(STDERR_FILENO, reinterpret_cast<const unsigned char*>(part), std::strlen(part));
}

using Trailer = std::array<unsigned char, ReplayFormat::trailerSize()>;

void putTrailer(Trailer& trailer, std::uint64_t steps, std::uint64_t lastChecksum,
                const std::optional<ReplayResult>& result, Fnv1a hash) {
    for (int i = 0; i < 4; ++i)
        trailer[i] = static_cast<unsigned char>(steps >> (8 * i));
    for (int i = 0; i < 8; ++i)
        trailer[4 + i] = static_cast<unsigned char>(lastChecksum >> (8 * i));
    trailer[12] = !result ? 0 : result->winner == ReplayResult::draw ? 3 : result->winner + 1;
    trailer[13] = result ? static_cast<unsigned char>(result->wins[0]) : 0;
    trailer[14] = result ? static_cast<unsigned char>(result->wins[1]) : 0;
    constexpr std::size_t checked = ReplayFormat::trailerSize() - 8;
    hash.addBytes(trailer.data(), checked);
    for (int i = 0; i < 8; ++i)
        trailer[checked + i] = static_cast<unsigned char>(hash.value >> (8 * i));
}

// The result of the last versus match decided up to a step.
std::optional<ReplayResult> resultAfter(const MatchState& state,
                                        const std::optional<ReplayResult>& before) {
    if (!state.rules.versus || state.round.phase != RoundState::MatchOver)
        return before;
    ReplayResult result;
    result.winner =
        state.round.winner == RoundState::draw ? ReplayResult::draw : state.round.winner;
    result.wins = {state.round.wins[0], state.round.wins[1]};
    return result;
}

// The most that waits to be written: the largest header (one that starts from a saved match)
// and the steps between two flushes with their checksums. Reserved at the start, so that the
// buffer never moves under a signal handler.
constexpr std::size_t pendingCapacity =
    ReplayFormat::longestHeaderSize + ReplayRecorder::flushInterval * ReplayFormat::stepSize +
    (ReplayRecorder::flushInterval / ReplayFormat::checkpointInterval + 1) *
        ReplayFormat::checksumSize;

// Blocks the signals that end the game for its lifetime, so that none ends the process between
// a recording's completion and its rename; one that arrives meanwhile acts afterwards.
class EndingSignalsHeld {
public:
    EndingSignalsHeld() {
        sigset_t ending;
        sigemptyset(&ending);
        for (int signal : {SIGINT, SIGTERM, SIGHUP})
            sigaddset(&ending, signal);
        pthread_sigmask(SIG_BLOCK, &ending, &previous);
    }
    ~EndingSignalsHeld() { pthread_sigmask(SIG_SETMASK, &previous, nullptr); }

    EndingSignalsHeld(const EndingSignalsHeld&) = delete;
    EndingSignalsHeld& operator=(const EndingSignalsHeld&) = delete;

private:
    sigset_t previous;
};

} // namespace

ReplayRecorder::ReplayRecorder(std::string path, const Lineup& lineup, const ReplayMode& mode,
                               const MatchRules& rules, const MatchState* start, int firstStep)
    : path(std::move(path)) {
    for (const Lineup::Entry* entry : {&lineup.fighters[0], &lineup.fighters[1], &lineup.stage})
        if (!Lineup::validName(entry->name))
            throw ReplayError(
                cannotRecord(this->path, "'" + entry->name + "' is no name a player types"));
    if (!mode.valid())
        throw ReplayError(cannotRecord(this->path, "its mode is out of range"));
    file = createTemporary(this->path, temporaryPath);
    pending.reserve(pendingCapacity);
    write(ReplayFormat::magic, sizeof ReplayFormat::magic);
    writeWord(ReplayFormat::version, 2);
    for (const Lineup::Entry* entry : {&lineup.fighters[0], &lineup.fighters[1], &lineup.stage}) {
        writeWord(entry->name.size(), 1);
        write(entry->name.data(), entry->name.size());
        writeWord(entry->fingerprint, 8);
    }
    writeWord(static_cast<std::uint64_t>(mode.kind), 1);
    writeWord(static_cast<std::uint64_t>(mode.cpuLevel), 1);
    writeWord(static_cast<std::uint64_t>(mode.cpuSide), 1);
    writeWord(rules.versus, 1);
    writeWord(static_cast<std::uint64_t>(rules.rounds), 1);
    writeWord(static_cast<std::uint64_t>(rules.roundSteps), 4);
    writeWord(static_cast<std::uint64_t>(rules.version), 1);
    const std::vector<std::uint8_t> state =
        start ? MatchStateCodec::encode(*start) : std::vector<std::uint8_t>();
    writeWord(state.size(), 4);
    write(state.data(), state.size());
    writeWord(static_cast<std::uint64_t>(firstStep), 4);
    // Open to the handlers only once it can be completed.
    prepareCompletion();
    const auto free = std::find(std::begin(openRecorders), std::end(openRecorders), nullptr);
    if (free == std::end(openRecorders)) {
        close(file);
        unlink(temporaryPath.c_str());
        throw ReplayError(cannotRecord(this->path, "too many recordings at once"));
    }
    *free = this;
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
    result = resultAfter(after, result);
    if (stepCount % ReplayFormat::checkpointInterval == 0)
        writeWord(lastChecksum, 8);
    const bool failed = stepCount % flushInterval == 0 && !flush();
    prepareCompletion();
    if (failed && onWriteFailure)
        onWriteFailure("Recording into '" + path + "' failed: " + writeError +
                       ". The match plays on.");
}

void ReplayRecorder::finish() {
    if (file < 0)
        return;
    const EndingSignalsHeld held;
    std::replace(std::begin(openRecorders), std::end(openRecorders),
                 static_cast<ReplayRecorder*>(this), static_cast<ReplayRecorder*>(nullptr));
    if (writeError.empty())
        flush();
    // A recording that failed before its first step was written keeps nothing.
    const bool kept = (writeError.empty() || written.steps > 0) && completeFrom(written);
    if (close(file) != 0 && writeError.empty())
        writeError = std::strerror(errno);
    file = -1;
    if (kept)
        rename();
    else
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

// Checked again at the end: a device or a FIFO may have taken the name during the match.
void ReplayRecorder::rename() {
    if (!onlyAFileAt(path.c_str()))
        throw ReplayError(cannotRecord(path, "it is no longer a regular file; the recording was "
                                             "kept as '" + temporaryPath + "'"));
    if (std::rename(temporaryPath.c_str(), path.c_str()) == 0)
        return;
    const std::string reason = std::strerror(errno);
    unlink(temporaryPath.c_str());
    throw ReplayError(cannotRecord(path, reason + "; nothing was kept"));
}

void ReplayRecorder::finishAllOpen() {
    for (std::atomic<ReplayRecorder*>& open : openRecorders) {
        ReplayRecorder* recorder = open.load();
        if (!recorder)
            continue;
        try {
            recorder->finish();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "vorrak: %s\n", e.what());
        }
    }
}

bool ReplayRecorder::completeAllAtOnce() {
    bool allKept = true;
    for (std::atomic<ReplayRecorder*>& open : openRecorders)
        if (ReplayRecorder* recorder = open.exchange(nullptr))
            allKept = recorder->completeAtOnce() && allKept;
    return allKept;
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
    written.result = result;
    written.hash = hash;
    pending.clear();
    return true;
}

// Ends the file after the steps written up to point with the trailer: whatever a failed write
// left beyond them is cut off.
bool ReplayRecorder::completeFrom(const Written& point) {
    Trailer trailer;
    putTrailer(trailer, point.steps, point.lastChecksum, point.result, point.hash);
    const bool complete =
        ftruncate(file, static_cast<off_t>(point.bytes)) == 0 &&
        lseek(file, static_cast<off_t>(point.bytes), SEEK_SET) >= 0 &&
        writeAll(file, trailer.data(), trailer.size()) && fsync(file) == 0;
    if (!complete && writeError.empty())
        writeError = std::strerror(errno);
    return complete;
}

// Called after every change to what a handler would complete: at the start and after each
// step. Once a write failed, the file ends after the steps written before it, as finish() ends it.
void ReplayRecorder::prepareCompletion() {
    const int next = 1 - ready.load();
    Completion& completion = completions[next];
    completion.offset = written.bytes;
    if (writeError.empty()) {
        completion.pending = pending.data();
        completion.pendingSize = pending.size();
        putTrailer(completion.trailer, stepCount, lastChecksum, result, hash);
    } else {
        completion.pendingSize = 0;
        completion.keeps = written.steps > 0;
        putTrailer(completion.trailer, written.steps, written.lastChecksum, written.result,
                   written.hash);
    }
    ready.store(next);
}

// Whatever the interrupted thread was writing lies beyond the completion's offset and is cut
// off. Only calls a signal handler may make; the recording is finished afterwards.
bool ReplayRecorder::completeAtOnce() {
    const Completion& completion = completions[ready.load()];
    const auto offset = static_cast<off_t>(completion.offset);
    const bool complete = completion.keeps && ftruncate(file, offset) == 0 &&
                          lseek(file, offset, SEEK_SET) >= 0 &&
                          writeAll(file, completion.pending, completion.pendingSize) &&
                          writeAll(file, completion.trailer.data(), completion.trailer.size()) &&
                          fsync(file) == 0;
    const char* reason = completion.keeps ? strerrordesc_np(errno) : "writing it had failed";
    close(file);
    file = -1;
    if (complete && !onlyAFileAt(path.c_str())) {
        tell({"vorrak: Cannot record into '", path.c_str(), "': it is no longer a regular file; "
              "the recording was kept as '", temporaryPath.c_str(), "'\n"});
        return false;
    }
    if (complete && ::rename(temporaryPath.c_str(), path.c_str()) == 0)
        return true;
    if (complete)
        reason = strerrordesc_np(errno);
    unlink(temporaryPath.c_str());
    tell({"vorrak: Cannot record into '", path.c_str(), "': ", reason, "; nothing was kept\n"});
    return false;
}
