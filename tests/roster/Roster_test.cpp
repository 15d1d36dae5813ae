#include <string>

#include <gtest/gtest.h>

#include "fighter/Player.h"
#include "files/TextFile.h"
#include "match/Match.h"
#include "roster/DataFileError.h"
#include "roster/FighterFile.h"
#include "roster/StageFile.h"
#include "support/testFighters.h"

namespace {

// The refusal of a file's text, or "" when it is taken.
template <typename Read> std::string refusalOf(Read read) {
    try {
        read();
    } catch (const DataFileError& e) {
        return e.what();
    }
    return "";
}

std::string fighterText() {
    return TextFile::read(testRoster().fighterFolder("sora") + "/fighter.toml", 1 << 20, "");
}

} // namespace

TEST(RosterTest, ListsTheFightersAndStagesOfTheMediaFolderByName) {
    EXPECT_EQ(testRoster().fighters(), (std::vector<std::string>{"brann", "sora"}));
    EXPECT_EQ(testRoster().stages(), (std::vector<std::string>{"courtyard", "dojo"}));
    const StageData courtyard = testRoster().loadStage("courtyard");
    EXPECT_EQ(courtyard.shownName, "Courtyard");
    EXPECT_FLOAT_EQ(courtyard.width, 440);
    EXPECT_EQ(testRoster().loadFighter("brann")->shownName, "Brann");
}

// Each refusal names the file, the line and the field; the whole file is checked before any of
// it is used.
TEST(RosterTest, ADamagedFileIsRefusedNamingItsLineAndField) {
    const std::string sora = fighterText();
    const auto fighter = [](std::string text) {
        return refusalOf([&] { FighterFile::parse(text, "f.toml", ""); });
    };
    const auto replaced = [&sora](const std::string& from, const std::string& to) {
        std::string text = sora;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    EXPECT_EQ(fighter(sora), "");
    EXPECT_EQ(fighter(replaced("health = 1000", "helth = 1000")),
              "f.toml:6: helth: unknown key (there are name, health, sprites, boxes, hits and "
              "actions)");
    EXPECT_EQ(fighter(replaced("damage = 50", "damage = 1001")),
              "f.toml:43: hits.punch.damage: 1001 is not 0 to 1000");
    EXPECT_EQ(fighter(replaced("[actions.hit]", "[actions.hurt]")).substr(0, 30),
              "f.toml:80: actions.hurt: unkno");
    EXPECT_NE(fighter(std::string(300 * 1024, '#')), "") << "over the size limit";
    // Found by the fuzzer: an attack without its hits would land nothing the tick can read.
    EXPECT_EQ(
        fighter(replaced(
            "hits = [{ steps = 15 }, { hit = \"punch\", steps = 20 }, { steps = 20 }]\n", "")),
        "f.toml:85: actions.punch.hits: missing, yet its boxes attack");

    const auto stage = [](const std::string& text) {
        return refusalOf([&] { StageFile::parse(text, "s.toml", ""); });
    };
    EXPECT_EQ(stage("name = \"A\"\nwidth = 328\nfloor = \"Ground.png\"\n"), "");
    EXPECT_EQ(stage("name = \"A\"\nwidth = 100\nfloor = \"Ground.png\"\n"),
              "s.toml:2: width: must be from 200 to 800");
    EXPECT_EQ(stage("name = \"A\"\nwidth = 328\nfloor = \"../x.png\"\n"),
              "s.toml:3: floor: '../x.png' must be a PNG file in the media folder");
}

// A versus match keeps the fighters between the walls of its own stage.
TEST(RosterTest, TheWallsStandWhereTheStageSaysEachFighterHisOwnBody) {
    Game game(testRoster().loadFighter("brann"), defaultFighter());
    game.walls = testRoster().loadStage("courtyard").width / 2;
    Match match(game);
    MatchRules rules;
    rules.versus = true;
    match.start(rules);
    StepInput apart;
    apart.players[0].direction = Direction::Left;
    apart.players[1].direction = Direction::Right;
    for (int step = 0; step < 600; ++step)
        match.step(apart);
    // Brann's body reaches 38 behind him, Sora's 35.
    EXPECT_FLOAT_EQ(game.player1->state.position.x, -220 + 38);
    EXPECT_FLOAT_EQ(game.player2->state.position.x, 220 - 35);
}

// A fighter's or stage's file is the same only byte for byte; one that differs only in its
// line endings (an editor's, a copy's between systems) is still another, but told apart.
TEST(RosterTest, AFileThatDiffersOnlyInItsLineEndingsIsToldApart) {
    using Holding = Roster::Holding;
    const auto fighter = [](const std::string& text) {
        return testRoster().holdsFighter({"sora", Lineup::fingerprintOf(text)});
    };
    const std::string lf = fighterText();
    ASSERT_EQ(lf.back(), '\n');
    std::string crlf;
    for (const char c : lf)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(fighter(lf), Holding::Same);
    EXPECT_EQ(fighter(crlf), Holding::OtherLineEndings);
    EXPECT_EQ(fighter(crlf.substr(0, crlf.size() - 2)), Holding::OtherLineEndings);
    EXPECT_EQ(fighter(lf.substr(0, lf.size() - 1)), Holding::OtherLineEndings);
    EXPECT_EQ(fighter(lf + "\n"), Holding::Different) << "an empty line more is more text";
    EXPECT_EQ(fighter(lf + "# one more line\n"), Holding::Different);

    const std::string dojo = TextFile::read(testRoster().stageFile("dojo"), 1 << 20, "");
    ASSERT_EQ(dojo.back(), '\n');
    EXPECT_EQ(testRoster().holdsStage({"dojo", Lineup::fingerprintOf(dojo.substr(0, dojo.size() - 1))}),
              Holding::OtherLineEndings);
}
