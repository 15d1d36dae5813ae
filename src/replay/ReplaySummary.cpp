#include "replay/ReplaySummary.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "replay/ReplayError.h"
#include "replay/ReplayFormat.h"
#include "replay/ReplayHeader.h"
#include "replay/ReplayTrailer.h"

namespace {

[[noreturn]] void refuse(const std::string&, const std::string& reason) {
    throw ReplayError(reason);
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
    if (size > largestFileSize)
        refuse(path, "the file is too large for a replay");
    std::vector<unsigned char> header(
        static_cast<std::size_t>(std::min<std::uint64_t>(size, longestHeaderSize)));
    file.readAt(0, header.data(), header.size());
    const ReplayHeader parsed = ReplayHeader::parse(header.data(), header.size(), size);

    ReplaySummary summary;
    summary.formatVersion = parsed.formatVersion;
    summary.fighters = {parsed.lineup.fighters[0].name, parsed.lineup.fighters[1].name};
    summary.stage = parsed.lineup.stage.name;
    summary.mode = parsed.mode;
    summary.rules = parsed.rules;
    summary.startsMidMatch = parsed.startsMidMatch();
    unsigned char closing[longestTrailerSize] = {};
    const std::uint64_t closingSize = trailerSize(parsed.formatVersion);
    file.readAt(size - closingSize, closing, closingSize);
    const ReplayTrailer trailer = ReplayTrailer::parse(closing, parsed.formatVersion, parsed.rules);
    summary.steps = trailer.steps;
    if (summary.steps > maxSteps || parsed.fileSize(summary.steps) != size)
        refuse(path, "the file is cut short or damaged (its length does not fit its steps)");
    if (trailer.damagedResult)
        refuse(path, "the file is damaged (its result cannot be)");
    summary.result = trailer.result;
    return summary;
}
