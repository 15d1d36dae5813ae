#include "app/GameFiles.h"

#include <filesystem>

#include "files/UserFolders.h"

namespace {

bool exists(const std::string& path) {
    std::error_code error;
    return std::filesystem::symlink_status(path, error).type() !=
           std::filesystem::file_type::not_found;
}

// The installed places, as the build was configured, relative to the program's folder.
std::string installed(const std::string& programFolder, const char* relative) {
    return (std::filesystem::path(programFolder) / relative).lexically_normal().string();
}

} // namespace

GameFiles GameFiles::beside(const std::string& folder) {
    GameFiles files;
    files.resources = folder;
    files.modules = folder;
    return files;
}

GameFiles GameFiles::find(const std::string& programFolder) {
    if (exists(programFolder + "/media"))
        return beside(programFolder);
    GameFiles files;
    files.resources = installed(programFolder, VORRAK_INSTALLED_DATA);
    files.modules = installed(programFolder, VORRAK_INSTALLED_MODULES);
    const std::string folder = UserFolders::state();
    files.logProblem = UserFolders::make(folder);
    if (files.logProblem.empty())
        files.log = folder + "/Ogre.log";
    return files;
}
