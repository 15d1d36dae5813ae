#include "roster/Roster.h"

#include <algorithm>
#include <memory>

#include <dirent.h>
#include <sys/stat.h>

#include "anim/CharacterData.h"
#include "files/TextFile.h"
#include "roster/DataFileError.h"
#include "roster/FighterFile.h"
#include "roster/StageFile.h"

namespace {

bool isFile(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

// A name a player can type, and a recording or a message can carry.
bool typeable(const std::string& name) {
    return Lineup::validName(name);
}

// The text with every line ended by "\n" and by "\r\n", each with and without an ending after
// its last line: the forms an editor or a copy between systems gives a file.
std::vector<std::string> lineEndingForms(const std::string& text) {
    std::string unix;
    for (std::size_t at = 0; at < text.size(); ++at)
        if (!(text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n'))
            unix += text[at];
    std::string windows;
    for (const char c : unix)
        windows += c == '\n' ? std::string("\r\n") : std::string(1, c);
    const bool ended = !unix.empty() && unix.back() == '\n';
    const std::string unixToggled = ended ? unix.substr(0, unix.size() - 1) : unix + "\n";
    const std::string windowsToggled =
        ended ? windows.substr(0, windows.size() - 2) : windows + "\r\n";
    return {unix, unixToggled, windows, windowsToggled};
}

// The names of the folder's entries that `entry` makes a fighter or stage of, sorted.
template <typename Named> std::vector<std::string> namesIn(const std::string& folder, Named named) {
    std::vector<std::string> names;
    const std::unique_ptr<DIR, int (*)(DIR*)> directory(opendir(folder.c_str()), closedir);
    if (!directory)
        return names;
    while (const dirent* entry = readdir(directory.get())) {
        const std::string name = named(std::string(entry->d_name));
        if (typeable(name))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

Roster::Roster(std::string mediaFolder) : media(std::move(mediaFolder)) {}

std::vector<std::string> Roster::fighters() const {
    return namesIn(media + "/fighters", [this](const std::string& entry) {
        return typeable(entry) && isFile(fighterFolder(entry) + "/" + FighterFile::fileName)
                   ? entry
                   : std::string();
    });
}

std::vector<std::string> Roster::stages() const {
    return namesIn(media + "/stages", [](const std::string& entry) {
        const std::string ending = ".toml";
        if (entry.size() <= ending.size() ||
            entry.compare(entry.size() - ending.size(), ending.size(), ending) != 0)
            return std::string();
        return entry.substr(0, entry.size() - ending.size());
    });
}

std::string Roster::fighterFolder(const std::string& name) const {
    return media + "/fighters/" + name;
}

std::string Roster::stageFile(const std::string& name) const {
    return media + "/stages/" + name + ".toml";
}

std::shared_ptr<const CharacterData> Roster::loadFighter(const std::string& name) const {
    return FighterFile::read(fighterFolder(name));
}

StageData Roster::loadStage(const std::string& name) const {
    return StageFile::read(stageFile(name), media);
}

Roster::Holding Roster::holdsFighter(const Lineup::Entry& fighter) const {
    const std::vector<std::string> names = fighters();
    if (std::find(names.begin(), names.end(), fighter.name) == names.end())
        return Holding::Missing;
    return holding(fighterFolder(fighter.name) + "/" + FighterFile::fileName,
                   FighterFile::maxBytes, fighter.fingerprint);
}

Roster::Holding Roster::holdsStage(const Lineup::Entry& stage) const {
    const std::vector<std::string> names = stages();
    if (std::find(names.begin(), names.end(), stage.name) == names.end())
        return Holding::Missing;
    return holding(stageFile(stage.name), StageFile::maxBytes, stage.fingerprint);
}

std::string Roster::howDifferent(Holding holding) {
    return holding == Holding::OtherLineEndings ? "; only their line endings differ" : "";
}

// A file that cannot be read is a damaged installation, as when it is loaded.
Roster::Holding Roster::holding(const std::string& path, long maxBytes,
                                std::uint64_t fingerprint) {
    std::string text;
    try {
        text = TextFile::read(path, maxBytes, "a roster's file");
    } catch (const FileError& e) {
        throw DataFileError(e.what());
    }
    if (Lineup::fingerprintOf(text) == fingerprint)
        return Holding::Same;
    for (const std::string& form : lineEndingForms(text))
        if (Lineup::fingerprintOf(form) == fingerprint)
            return Holding::OtherLineEndings;
    return Holding::Different;
}
