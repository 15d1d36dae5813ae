#include <filesystem>
#include <fstream>
#include <set>

#include <gtest/gtest.h>
#include <unistd.h>

#include "files/TextFile.h"
#include "replay/Fnv1a.h"
#include "replay/ReplayFolder.h"
#include "replay/ReplayReader.h"

namespace {

namespace fs = std::filesystem;

// A whole replay file of `steps` idle steps by these rules, as the recorder of format 4 laid
// it out.
std::string replayBytes(std::uint32_t steps, const MatchRules& rules) {
    std::string bytes(ReplayFormat::magic, sizeof ReplayFormat::magic);
    const auto put = [&bytes](std::uint64_t value, int size) {
        for (int i = 0; i < size; ++i)
            bytes += static_cast<char>(value >> (8 * i) & 0xff);
    };
    put(4, 2);
    put(0x1234, 8);
    put(rules.versus, 1);
    put(static_cast<std::uint64_t>(rules.rounds), 1);
    put(static_cast<std::uint64_t>(rules.roundSteps), 4);
    put(static_cast<std::uint64_t>(rules.version), 1);
    put(0, 4); // from the match's start
    put(0, 4);
    for (std::uint32_t step = 1; step <= steps; ++step) {
        put(ReplayFormat::encodeStep(StepInput{}), 2);
        if (step % ReplayFormat::checkpointInterval == 0)
            put(0, 8);
    }
    put(steps, 4);
    put(0, 8);
    Fnv1a hash;
    hash.addBytes(bytes.data(), bytes.size());
    put(hash.value, 8);
    return bytes;
}

class ReplayFolderTest : public ::testing::Test {
protected:
    ReplayFolderTest() { fs::create_directories(root); }
    ~ReplayFolderTest() override { fs::remove_all(root); }

    // A file in the folder, last written `minute` minutes after a moment common to all.
    fs::path file(const std::string& name, const std::string& bytes, int minute) {
        const fs::path path = folder / name;
        fs::create_directories(folder);
        std::ofstream(path, std::ios::binary) << bytes;
        fs::last_write_time(path, fs::file_time_type(std::chrono::hours(24 * 365 * 50)) +
                                      std::chrono::minutes(minute));
        return path;
    }

    std::set<std::string> names() const {
        std::set<std::string> found;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder))
            found.insert(entry.path().filename().string());
        return found;
    }

    const fs::path root =
        fs::temp_directory_path() / ("vorrak-replays-" + std::to_string(::getpid()));
    const fs::path folder = root / "data/vorrak/replays";
};

} // namespace

TEST_F(ReplayFolderTest, ANewRecordingIsNamedAfterItsMomentAndNeverTakesAnothersName) {
    ReplayFolder replays(200, folder.string());
    std::tm moment{};
    moment.tm_year = 2024 - 1900;
    moment.tm_mon = 4;
    moment.tm_mday = 1;
    moment.tm_hour = 14;
    moment.tm_min = 3;
    moment.tm_sec = 22;
    moment.tm_isdst = -1;
    const std::time_t now = std::mktime(&moment);
    EXPECT_EQ(replays.newRecording(now), (folder / "2024-05-01_14-03-22.vrp").string());
    EXPECT_EQ(replays.newRecording(now), (folder / "2024-05-01_14-03-22-2.vrp").string());
    EXPECT_EQ(replays.newRecording(now + 1), (folder / "2024-05-01_14-03-23.vrp").string());
    EXPECT_EQ(fs::file_size(folder / "2024-05-01_14-03-22-2.vrp"), 0u);

    fs::remove_all(root);
    std::ofstream(root.string());
    EXPECT_THROW(ReplayFolder(200, (root / "replays").string()).newRecording(now), FileError);
    fs::remove(root);
}

// The list holds every replay file, newest first, with its length and rules from its header
// and closing record alone: a file whose steps are noise but whose ends are whole is listed
// as whole. Anything else named .vrp is listed as damaged, saying why; other files are not
// listed.
TEST_F(ReplayFolderTest, ListsTheRecordingsNewestFirstFromTheirEnds) {
    MatchRules versus;
    versus.versus = true;
    versus.rounds = 5;
    const std::string open = replayBytes(600, MatchRules{});
    ASSERT_NO_THROW(parseReplay(open, "open"));
    std::string noisy = replayBytes(130, versus);
    const int headerSize = 8 + 2 + 8 + 7 + 4 + 4;
    std::fill(noisy.begin() + headerSize, noisy.begin() + 200, '\xff');
    file("2024-05-01_14-03-22.vrp", open, 1);
    file("2024-05-01_14-05-00.vrp", noisy, 3);
    file("from-a-friend.vrp", open.substr(0, open.size() - 1), 2);
    file("2024-05-01_14-07-00.vrp", "", 4);
    file("notes.vrp", "not a replay at all", 0);
    file("notes.txt", "", 5);

    const std::vector<ReplayListing> listed = ReplayFolder(200, folder.string()).list();
    ASSERT_EQ(listed.size(), 5u);
    const char* const order[] = {"2024-05-01_14-07-00.vrp", "2024-05-01_14-05-00.vrp",
                                 "from-a-friend.vrp", "2024-05-01_14-03-22.vrp", "notes.vrp"};
    for (std::size_t i = 0; i < listed.size(); ++i)
        EXPECT_EQ(listed[i].name, order[i]);
    EXPECT_EQ(listed[0].damage, "the file is empty");
    ASSERT_TRUE(listed[1].summary);
    EXPECT_EQ(listed[1].summary->steps, 130u);
    EXPECT_EQ(listed[1].summary->rules, versus);
    EXPECT_NE(listed[2].damage.find("cut short"), std::string::npos) << listed[2].damage;
    EXPECT_FALSE(listed[2].summary);
    ASSERT_TRUE(listed[3].summary);
    EXPECT_EQ(listed[3].summary->steps, 600u);
    EXPECT_DOUBLE_EQ(listed[3].summary->seconds(), 10.0);
    EXPECT_EQ(listed[3].summary->rules, MatchRules{});
    EXPECT_EQ(listed[3].path, (folder / "2024-05-01_14-03-22.vrp").string());
    EXPECT_EQ(listed[4].damage, "the file is not a Vorrak replay");

    EXPECT_TRUE(ReplayFolder(200, (root / "missing").string()).list().empty());
}

// Beyond the limit the oldest recordings the folder named go; what it did not name stays,
// however old.
TEST_F(ReplayFolderTest, RemovesOnlyItsOwnOldestBeyondTheLimit) {
    const std::string bytes = replayBytes(60, MatchRules{});
    file("2024-05-01_14-00-00.vrp", bytes, 1);
    file("2024-05-01_14-00-00-2.vrp", bytes, 1);
    file("2024-05-01_14-01-00.vrp", bytes, 2);
    file("2024-05-01_14-02-00.vrp", bytes, 3);
    file("2024-05-01_14-03-00.vrp", bytes, 4);
    file("2024-05-01_14-03-00-02.vrp", bytes, 0);
    file("mine.vrp", bytes, 0);
    file("notes.txt", "", 0);
    fs::create_directory(folder / "2024-01-01_00-00-00.vrp");
    ReplayFolder(3, folder.string()).prune();
    EXPECT_EQ(names(), (std::set<std::string>{"2024-05-01_14-01-00.vrp", "2024-05-01_14-02-00.vrp",
                                              "2024-05-01_14-03-00.vrp", "2024-05-01_14-03-00-02.vrp",
                                              "mine.vrp", "notes.txt", "2024-01-01_00-00-00.vrp"}));
    ReplayFolder(3, folder.string()).prune();
    EXPECT_EQ(names().size(), 7u);
}
