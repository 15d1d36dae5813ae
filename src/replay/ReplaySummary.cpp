#include "replay/ReplaySummary.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "replay/ReplayError.h"
#include "replay/ReplayFormat.h"

namespace {

[[noreturn]] void refuse(const std::string&, const std::string& reason) {
    throw ReplayError(reason);
}

std::uint64_t word(const unsigned char* bytes, int size) {
    std::uint64_t value = 0;
    for (int i = 0; i < size; ++i)
        value |= std::uint64_t{bytes[i]} << (8 * i);
    return value;
}

class File {
public:
    explicit File(const std::string& path) : path(path) {
        // Not blocking, so that a FIFO is refused rather than waited on.
        fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            refuse(path, std::strerror(errno));
    }
    ~File() { ::close(fd); }
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    std::uint64_t regularSize() const {
        struct stat info {};
        if (::fstat(fd, &info) != 0)
            refuse(path, std::strerror(errno));
        if (!S_ISREG(info.st_mode))
            refuse(path, "it is not a regular file");
        return static_cast<std::uint64_t>(info.st_size);
    }

    void readAt(std::uint64_t offset, unsigned char* into, std::size_t size) const {
        std::size_t done = 0;
        while (done < size) {
            const ssize_t got = ::pread(fd, into + done, size - done,
                                        static_cast<off_t>(offset + done));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                refuse(path, std::strerror(errno));
            if (got == 0)
                refuse(path, "the file is truncated");
            done += static_cast<std::size_t>(got);
        }
    }

private:
    const std::string& path;
    int fd;
};

} // namespace

ReplaySummary ReplaySummary::read(const std::string& path) {
    using namespace ReplayFormat;
    const File file(path);
    const std::uint64_t size = file.regularSize();
    if (size == 0)
        refuse(path, "the file is empty");
    if (size > fileSize(maxSteps, startedVersion, maxStateSize))
        refuse(path, "the file is too large for a replay");
    // The longest header before a saved match: magic, version, hash, rules, the match's size.
    unsigned char header[headerSize(startedVersion, 0)] = {};
    file.readAt(0, header, static_cast<std::size_t>(std::min<std::uint64_t>(size, sizeof header)));
    if (std::memcmp(header, magic, std::min<std::uint64_t>(size, sizeof magic)) != 0)
        refuse(path, "the file is not a Vorrak replay");
    if (size < sizeof magic + 2)
        refuse(path, "the file is truncated");

    ReplaySummary summary;
    summary.formatVersion = static_cast<unsigned>(word(header + 8, 2));
    if (summary.formatVersion > startedVersion)
        refuse(path, "it was recorded by a newer Vorrak (replay format " +
                         std::to_string(summary.formatVersion) + ")");
    if (summary.formatVersion < oldestVersion)
        refuse(path, "unknown replay format " + std::to_string(summary.formatVersion));
    const std::uint64_t stateSize =
        summary.formatVersion >= startedVersion ? word(header + headerSize(2), 4) : 0;
    if (stateSize > maxStateSize || size < headerSize(summary.formatVersion, stateSize) + trailerSize)
        refuse(path, "the file is truncated");
    if (summary.formatVersion >= 2) {
        const unsigned char* rules = header + headerSize(1);
        summary.rules.versus = rules[0] == 1;
        summary.rules.rounds = rules[1];
        summary.rules.roundSteps = static_cast<std::int32_t>(word(rules + 2, 4));
        if (rules[0] > 1 || !summary.rules.valid())
            refuse(path, "the file is damaged (it names rules this Vorrak does not have)");
    }
    summary.startsMidMatch = summary.formatVersion >= startedVersion;

    unsigned char trailer[4] = {};
    file.readAt(size - trailerSize, trailer, sizeof trailer);
    summary.steps = word(trailer, 4);
    if (summary.steps > maxSteps || fileSize(summary.steps, summary.formatVersion, stateSize) != size)
        refuse(path, "the file is cut short or damaged (its length does not fit its steps)");
    return summary;
}
