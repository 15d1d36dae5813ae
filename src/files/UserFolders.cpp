#include "files/UserFolders.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <sys/stat.h>

namespace {

std::string gameFolder(const char* variable, const char* underHome) {
    const char* base = std::getenv(variable);
    if (base && base[0] == '/')
        return std::string(base) + "/vorrak";
    const char* home = std::getenv("HOME");
    if (home && home[0] != '\0')
        return std::string(home) + "/" + underHome + "/vorrak";
    return "";
}

} // namespace

namespace UserFolders {

std::string config() { return gameFolder("XDG_CONFIG_HOME", ".config"); }
std::string data() { return gameFolder("XDG_DATA_HOME", ".local/share"); }
std::string state() { return gameFolder("XDG_STATE_HOME", ".local/state"); }

std::string make(const std::string& folder) {
    if (folder.empty())
        return "no folder is known (neither the XDG variable nor HOME is set)";
    for (std::size_t end = folder.find('/', 1);; end = folder.find('/', end + 1)) {
        const std::string part = folder.substr(0, end);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return "cannot make " + part + ": " + std::strerror(errno);
        if (end == std::string::npos)
            break;
    }
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return folder + " is not a folder";
    return "";
}

} // namespace UserFolders
