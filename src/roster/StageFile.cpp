#include "roster/StageFile.h"

#include <sys/stat.h>

#include "files/TextFile.h"
#include "roster/DataFileError.h"
#include "roster/DataReader.h"
#include "roster/Lineup.h"

namespace {

std::string nameOf(const std::string& path) {
    const std::string file = path.substr(path.rfind('/') + 1);
    const std::string ending = ".toml";
    return file.size() > ending.size() &&
                   file.compare(file.size() - ending.size(), ending.size(), ending) == 0
               ? file.substr(0, file.size() - ending.size())
               : file;
}

} // namespace

namespace StageFile {

StageData read(const std::string& path, const std::string& mediaFolder) {
    std::string text;
    try {
        text = TextFile::read(path, maxBytes, "a stage's file");
    } catch (const FileError& e) {
        throw DataFileError(e.what());
    }
    StageData stage = parse(text, path, mediaFolder);
    stage.name = nameOf(path);
    return stage;
}

StageData parse(const std::string& text, const std::string& source,
                const std::string& mediaFolder) {
    const DataReader in(source);
    const toml::table file = in.parse(text);
    in.onlyKeys(file, "", {"name", "width", "floor"});
    StageData stage;
    stage.shownName = in.shownName(file, "name", 40);
    stage.width = static_cast<float>(in.number(file, "width", "width", minWidth, maxWidth));
    stage.floor = in.string(file, "floor", "floor");
    const std::string& floor = stage.floor;
    const bool png = floor.size() > 4 && floor.compare(floor.size() - 4, 4, ".png") == 0;
    if (!png || floor.find('/') != std::string::npos)
        in.fail(*file.get("floor"), "floor",
                "'" + floor + "' must be a PNG file in the media folder");
    struct stat status {};
    const std::string path = mediaFolder + "/" + floor;
    if (!mediaFolder.empty() && (stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)))
        in.fail(*file.get("floor"), "floor", "the image " + path + " is missing");
    stage.fingerprint = Lineup::fingerprintOf(text);
    return stage;
}

} // namespace StageFile
