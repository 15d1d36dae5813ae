#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "input/BindingsFile.h"

namespace {

namespace fs = std::filesystem;

const std::string defaultText = BindingsFile::format(Bindings::defaults());

bool same(const Bindings& a, const Bindings& b) {
    for (int player = 0; player < 2; ++player) {
        for (int control = 0; control < Control::count; ++control) {
            if (a.players[player].keys[control] != b.players[player].keys[control] ||
                a.players[player].buttons[control] != b.players[player].buttons[control])
                return false;
        }
    }
    return true;
}

// The error parse gives for text, or "" when it parses.
std::string errorOf(const std::string& text) {
    try {
        BindingsFile::parse(text, "b.cfg");
    } catch (const BindingsError& e) {
        return e.what();
    }
    return "";
}

// The default file with one line replaced.
std::string withLine(const std::string& from, const std::string& to) {
    std::string text = defaultText;
    text.replace(text.find(from), from.size(), to);
    return text;
}

TEST(BindingsFile, ReadsBackWhatItPrints) {
    EXPECT_TRUE(same(BindingsFile::parse(defaultText, "b.cfg"), Bindings::defaults()));

    const Bindings moved = BindingsFile::parse(
        withLine("punch = J pad:a", "  PUNCH=u,numpad0  pad:X PAD:a # two of each"), "b.cfg");
    EXPECT_EQ(moved.players[0].keys[Control::Punch],
              (std::vector<OIS::KeyCode>{OIS::KC_U, OIS::KC_NUMPAD0}));
    EXPECT_EQ(moved.players[0].buttons[Control::Punch],
              (std::vector<PadButton::ePadButton>{PadButton::X, PadButton::A}));
    EXPECT_TRUE(same(BindingsFile::parse(BindingsFile::format(moved), "b.cfg"), moved));
}

TEST(BindingsFile, EveryErrorNamesTheFileAndItsLine) {
    const std::pair<std::string, std::string> cases[] = {
        {withLine("punch = J", "punch = Jay"), "b.cfg:9: unknown key 'Jay'"},
        {withLine("punch = J", "punch = F5"), "b.cfg:9: 'F5' is a program key"},
        {withLine("punch = J", "punch = escape"), "b.cfg:9: 'escape' is a program key"},
        {withLine("kick = K", "kick = J"), "b.cfg:10: 'J' is bound twice (also on line 9)"},
        {withLine("punch = Numpad1", "punch = W"), "b.cfg:17: 'W' is bound twice (also on line 5)"},
        {withLine("kick = K pad:b", "kick = K pad:a"), "b.cfg:10: 'pad:a' is bound twice"},
        {withLine("kick = K pad:b", "kick = K pad:back"), "b.cfg:10: 'pad:back' is the controller"},
        {withLine("kick = K pad:b", "kick = K pad:z"), "b.cfg:10: unknown controller button"},
        {withLine("kick = K pad:b", "kick ="), "b.cfg:10: 'kick' has no key"},
        {withLine("kick = K pad:b", "jump = K"), "b.cfg:10: unknown control 'jump'"},
        {withLine("kick = K pad:b", "punch = K"), "b.cfg:10: 'punch' is given twice"},
        {withLine("kick = K pad:b", "kick K"), "b.cfg:10: expected [player1]"},
        {withLine("[player2]", "[player3]"), "b.cfg:12: unknown section '[player3]'"},
        {withLine("[player2]", "[player1]"),
         "b.cfg:12: a second [player1] section (the first is on line 4)"},
        {withLine("[player1]\n", ""), "b.cfg:4: 'up' comes before"},
        {defaultText.substr(0, defaultText.find("[player2]")),
         "b.cfg:11: the file ends without a [player2] section"},
        {withLine("kick = K pad:b\n", ""), "b.cfg:4: [player1] has no 'kick' line"},
        {"", "b.cfg:1: the file ends without a [player1] section"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(errorOf(text).rfind(expected, 0), 0u)
            << errorOf(text) << "\nexpected " << expected;
}

// Random damage to a good file: each one parses or fails with one line naming the file.
TEST(BindingsFile, DamagedFilesFailWithOneClearLine) {
    std::mt19937 random(18);
    const std::string pieces[] = {"[",    "]", "=",  "#", "pad:", "\n", std::string(1, '\0'),
                                  "\xff", " ", "F1", "J"};
    int failures = 0;
    for (int round = 0; round < 400; ++round) {
        std::string text = defaultText;
        for (int edit = 0; edit < 1 + round % 4; ++edit) {
            const std::size_t at = random() % text.size();
            const std::string& piece = pieces[random() % std::size(pieces)];
            switch (random() % 3) {
            case 0:
                text.erase(at, 1 + random() % 8);
                break;
            case 1:
                text.insert(at, piece);
                break;
            default:
                text[at] = static_cast<char>(random());
            }
        }
        const std::string error = errorOf(text);
        if (error.empty())
            continue;
        ++failures;
        EXPECT_EQ(error.rfind("b.cfg:", 0), 0u) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
    EXPECT_GT(failures, 200);
}

class BindingsFileOnDisk : public ::testing::Test {
protected:
    BindingsFileOnDisk() { fs::create_directories(folder); }
    ~BindingsFileOnDisk() override { fs::remove_all(folder); }

    std::string readError(const fs::path& path) {
        try {
            BindingsFile::read(path);
        } catch (const BindingsError& e) {
            return e.what();
        }
        return "";
    }

    const fs::path folder =
        fs::temp_directory_path() / ("vorrak-bindings-" + std::to_string(::getpid()));
};

TEST_F(BindingsFileOnDisk, OnlyASmallRegularFileIsRead) {
    const fs::path good = folder / "good.cfg";
    std::ofstream(good) << defaultText;
    EXPECT_TRUE(same(BindingsFile::read(good), Bindings::defaults()));

    const fs::path large = folder / "large.cfg";
    std::ofstream(large) << defaultText << std::string(BindingsFile::maxSize, '#');
    const fs::path fifo = folder / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::pair<fs::path, std::string> cases[] = {
        {folder, "is a directory"},
        {fifo, "is not a regular file"},
        {large, "is larger than 64 KiB"},
        {folder / "missing.cfg", "No such file"},
    };
    for (const auto& [path, expected] : cases)
        EXPECT_EQ(readError(path).rfind(path.string() + ": " + expected, 0), 0u) << readError(path);
}

TEST_F(BindingsFileOnDisk, TheUsersFileIsFoundInTheConfigFolder) {
    const char* const savedHome = std::getenv("HOME");
    const std::string home0 = savedHome ? savedHome : "";
    const fs::path xdg = folder / "xdg";
    const fs::path home = folder / "home";
    setenv("XDG_CONFIG_HOME", xdg.c_str(), 1);
    setenv("HOME", home.c_str(), 1);
    EXPECT_EQ(BindingsFile::defaultPath(), "");
    fs::create_directories(xdg / "vorrak");
    std::ofstream(xdg / "vorrak/bindings.cfg") << defaultText;
    EXPECT_EQ(BindingsFile::defaultPath(), (xdg / "vorrak/bindings.cfg").string());

    unsetenv("XDG_CONFIG_HOME");
    fs::create_directories(home / ".config/vorrak");
    std::ofstream(home / ".config/vorrak/bindings.cfg") << defaultText;
    EXPECT_EQ(BindingsFile::defaultPath(), (home / ".config/vorrak/bindings.cfg").string());
    setenv("HOME", home0.c_str(), 1);
}

} // namespace

// The file is written back whole in its own format, its folder made if need be; a file that is
// a link to one kept elsewhere is replaced there, the link staying a link.
TEST_F(BindingsFileOnDisk, WrittenBackInItsOwnFormat) {
    Bindings changed = Bindings::defaults();
    changed.rebindKey(0, Control::Punch, OIS::KC_U);
    const fs::path path = folder / "config/vorrak/bindings.cfg";
    BindingsFile::write(path, changed);
    EXPECT_TRUE(same(BindingsFile::read(path), changed));

    const fs::path kept = folder / "dotfiles.cfg";
    fs::rename(path, kept);
    fs::create_symlink(kept, path);
    BindingsFile::write(path, Bindings::defaults());
    EXPECT_TRUE(fs::is_symlink(path));
    EXPECT_TRUE(same(BindingsFile::read(kept), Bindings::defaults()));
    EXPECT_EQ(std::distance(fs::directory_iterator(path.parent_path()), fs::directory_iterator()),
              1);
}
