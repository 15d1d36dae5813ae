#include "files/TextFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files/UserFolders.h"

namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) : fd(fd) {}
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return fd; }
    // Closes it now, and says whether everything written reached the file.
    bool close() {
        const int closing = fd;
        fd = -1;
        return ::close(closing) == 0;
    }

private:
    int fd;
};

std::string systemError() { return std::strerror(errno); }

// A link is followed, so a file kept elsewhere (a dotfiles folder) is replaced where it is
// and the link stays.
std::string resolved(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return path;
    char target[PATH_MAX];
    return ::realpath(path.c_str(), target) ? std::string(target) : path;
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

void writeAll(int fd, const std::string& text, const std::string& path) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw FileError("Cannot write " + path + ": " + systemError());
        done += static_cast<std::size_t>(n);
    }
}

} // namespace

namespace TextFile {

std::string read(const std::string& path, long maxSize, const std::string& kind) {
    const auto failure = [&path](const std::string& what) { return FileError(path + ": " + what); };
    // Not blocking, so that a FIFO without a writer is refused instead of waited on.
    Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.get() < 0)
        throw failure(systemError());
    struct stat info {};
    if (::fstat(file.get(), &info) != 0)
        throw failure(systemError());
    if (S_ISDIR(info.st_mode))
        throw failure("is a directory, not " + kind);
    if (!S_ISREG(info.st_mode))
        throw failure("is not a regular file");
    if (info.st_size > maxSize)
        throw failure("is larger than " + std::to_string(maxSize / 1024) + " KiB: not " + kind);
    std::string text(static_cast<std::size_t>(info.st_size), '\0');
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::read(file.get(), &text[done], text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            throw failure(systemError());
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    text.resize(done);
    return text;
}

void writeAtomically(const std::string& path, const std::string& text) {
    const std::string target = resolved(path);
    const std::string problem = UserFolders::make(folderOf(target));
    if (!problem.empty())
        throw FileError("Cannot write " + path + ": " + problem);
    std::string temporary = target + ".new-XXXXXX";
    std::vector<char> name(temporary.begin(), temporary.end());
    name.push_back('\0');
    Descriptor file(::mkostemp(name.data(), O_CLOEXEC));
    if (file.get() < 0)
        throw FileError("Cannot write " + path + ": " + systemError());
    temporary = name.data();
    try {
        writeAll(file.get(), text, path);
        if (::fsync(file.get()) != 0 || !file.close())
            throw FileError("Cannot write " + path + ": " + systemError());
        if (std::rename(temporary.c_str(), target.c_str()) != 0)
            throw FileError("Cannot write " + path + ": " + systemError());
    } catch (...) {
        ::unlink(temporary.c_str());
        throw;
    }
    // The rename itself reaches the disk with its folder.
    Descriptor folder(::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0)
        ::fsync(folder.get());
}

} // namespace TextFile
