#include "export/VideoTarget.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

#include "export/ExportError.h"

namespace {

[[noreturn]] void refuse(const std::string& path, const std::string& reason) {
    throw ExportError("Cannot export to '" + path + "': " + reason);
}

} // namespace

bool VideoTarget::supported(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".mp4" || extension == ".webm" || extension == ".mkv";
}

void VideoTarget::check(const std::string& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode))
        refuse(path, std::strerror(EISDIR));
    if (stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode))
        refuse(path, "it exists and is not a regular file");
    // The folder takes a new file: the same test the export makes at its start.
    const std::string probe = createTemporary(path);
    unlink(probe.c_str());
}

std::string VideoTarget::createTemporary(const std::string& path) {
    std::string temporary = path + ".export-XXXXXX";
    const int file = mkstemp(temporary.data());
    if (file < 0)
        refuse(path, std::strerror(errno));
    // mkstemp makes the file private; the video gets the permissions of any new file.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(file, 0666 & ~mask);
    close(file);
    return temporary;
}
