#pragma once

#include <memory>
#include <string>
#include <vector>

#include "roster/Lineup.h"
#include "roster/StageData.h"

class CharacterData;

// The fighters and stages a media folder holds: a folder per fighter under fighters/ holding its
// fighter.toml, and a file <name>.toml per stage under stages/. A fighter's or stage's name is
// what players type: its folder's or file's name. Made by whoever chooses or loads them.
class Roster {
public:
    static constexpr const char* defaultFighter = "sora";
    static constexpr const char* defaultStage = "dojo";

    explicit Roster(std::string mediaFolder);

    // Sorted by name.
    std::vector<std::string> fighters() const;
    std::vector<std::string> stages() const;

    std::string fighterFolder(const std::string& name) const;
    std::string stageFile(const std::string& name) const;

    // Throws DataFileError for a file that cannot be played.
    std::shared_ptr<const CharacterData> loadFighter(const std::string& name) const;
    StageData loadStage(const std::string& name) const;

    // Whether the roster holds a fighter or stage that a recording or the other side of online
    // play names: by that name, from a file of that fingerprint. A file that differs from it
    // only in its line endings, "\r\n" for "\n" or a last line's, is still another file, but
    // it is told apart: an editor or a copy made it, not another fighter. Throws
    // DataFileError for a file of that name that cannot be read.
    enum class Holding { Same, Missing, Different, OtherLineEndings };
    Holding holdsFighter(const Lineup::Entry& fighter) const;
    Holding holdsStage(const Lineup::Entry& stage) const;

    // Said after a refusal of another file: what differs when only the line endings do.
    static std::string howDifferent(Holding holding);

private:
    static Holding holding(const std::string& path, long maxBytes, std::uint64_t fingerprint);

    std::string media;
};
