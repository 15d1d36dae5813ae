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

// A PNG named by a key, in the media folder.
void requireImage(const DataReader& in, const toml::node& node, const std::string& field,
                  const std::string& image, const std::string& mediaFolder) {
    const bool png = image.size() > 4 && image.compare(image.size() - 4, 4, ".png") == 0;
    if (!png || image.find('/') != std::string::npos)
        in.fail(node, field, "'" + image + "' must be a PNG file in the media folder");
    struct stat status {};
    const std::string path = mediaFolder + "/" + image;
    if (!mediaFolder.empty() && (stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)))
        in.fail(node, field, "the image " + path + " is missing");
}

std::vector<BackdropLayer> backdropOf(const DataReader& in, const toml::table& file,
                                      const std::string& mediaFolder) {
    std::vector<BackdropLayer> layers;
    if (!file.contains("backdrop"))
        return layers;
    const toml::array& list = in.array(file, "backdrop", "backdrop");
    if (list.empty() || list.size() > StageFile::maxBackdropLayers)
        in.fail(list, "backdrop",
                "needs 1 to " + std::to_string(StageFile::maxBackdropLayers) + " layers");
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string field = "backdrop[" + std::to_string(i) + "]";
        const toml::table& layer = in.table(*list.get(i), field);
        in.onlyKeys(layer, field, {"image", "depth"});
        BackdropLayer read;
        read.image = in.string(layer, "image", field + ".image");
        requireImage(in, *layer.get("image"), field + ".image", read.image, mediaFolder);
        read.depth = static_cast<float>(
            in.number(layer, "depth", field + ".depth", 1, StageFile::maxBackdropDepth));
        if (!layers.empty() && read.depth >= layers.back().depth)
            in.fail(layer, field + ".depth", "layers go from the farthest to the nearest");
        layers.push_back(read);
    }
    return layers;
}

} // namespace

namespace StageFile {

std::uint64_t fingerprintOf(const std::string& text) {
    // The end of the last line with a key on it before the first table.
    std::size_t keysEnd = 0;
    std::size_t line = 0;
    while (line < text.size()) {
        std::size_t end = text.find('\n', line);
        end = end == std::string::npos ? text.size() : end + 1;
        const std::size_t start = text.find_first_not_of(" \t\r\n", line);
        if (start < end && text[start] == '[')
            return Lineup::fingerprintOf(text.substr(0, keysEnd));
        if (start < end && text[start] != '#')
            keysEnd = end;
        line = end;
    }
    return Lineup::fingerprintOf(text);
}

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
    in.onlyKeys(file, "", {"name", "width", "floor", "backdrop"});
    StageData stage;
    stage.shownName = in.shownName(file, "name", 40);
    stage.width = static_cast<float>(in.number(file, "width", "width", minWidth, maxWidth));
    stage.floor = in.string(file, "floor", "floor");
    requireImage(in, *file.get("floor"), "floor", stage.floor, mediaFolder);
    stage.backdrop = backdropOf(in, file, mediaFolder);
    stage.fingerprint = fingerprintOf(text);
    return stage;
}

} // namespace StageFile
