#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <fstream>
#include <random>
#include <sstream>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "match/MatchState.h"
#include "match/MatchStateCodec.h"
#include "match/checksum.h"
#include "replay/Fnv1a.h"
#include "replay/ReplayError.h"
#include "replay/ReplayHeader.h"
#include "replay/ReplayReader.h"
#include "replay/ReplayRecorder.h"
#include "replay/ReplaySummary.h"

namespace fs = std::filesystem;

namespace {

// Brann on the left against Sora on the courtyard, by their names and made-up fingerprints.
Lineup lineup() {
    Lineup named;
    named.fighters[0] = {"brann", 0x1234567890abcdefull};
    named.fighters[1] = {"sora", 0x0fedcba987654321ull};
    named.stage = {"courtyard", 0x5eed};
    return named;
}

StepInput randomStep(std::mt19937& random) {
    StepInput input;
    for (InputFrame& frame : input.players) {
        frame.direction = static_cast<Direction::eDirection>(random() % 9);
        frame.pressed[0] = random() % 4 == 0;
        frame.pressed[1] = random() % 4 == 0;
    }
    input.keys.hideDebugDisplays = random() % 16 == 0;
    input.keys.showInputPanels = random() % 16 == 0;
    input.keys.showHitboxes = random() % 16 == 0;
    return input;
}

// Stands for the match after step n: states whose checksums differ from step to step.
MatchState stateAfter(int n) {
    MatchState state;
    state.fighters[1].state.health = 1000 - n;
    return state;
}

std::string contentsOf(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

class ReplayFileTest : public ::testing::Test {
protected:
    ReplayFileTest()
        : dir(fs::temp_directory_path() / ("vorrak-replay-" + std::to_string(getpid()))) {
        fs::create_directories(dir);
    }
    ~ReplayFileTest() override { fs::remove_all(dir); }

    // A match of `steps` random steps; the last is the quit when quits is set.
    std::vector<StepInput> record(const fs::path& path, int steps, bool quits,
                                  const MatchRules& rules = {}, const ReplayMode& mode = {}) {
        std::mt19937 random(7);
        std::vector<StepInput> inputs;
        ReplayRecorder recorder(path.string(), lineup(), mode, rules);
        for (int n = 1; n <= steps; ++n) {
            StepInput input = randomStep(random);
            input.keys.quit = quits && n == steps;
            recorder.record(input, stateAfter(n));
            inputs.push_back(input);
        }
        return inputs;
    }

    // A valid recording of 130 steps, as bytes.
    std::string validBytes() {
        record(dir / "valid.vrp", 130, true);
        return contentsOf(dir / "valid.vrp");
    }

    fs::path dir;
};

// The check value recomputed, so a planted fault reaches the checks behind it.
std::string resealed(std::string bytes) {
    Fnv1a hash;
    hash.addBytes(bytes.data(), bytes.size() - 8);
    for (int i = 0; i < 8; ++i)
        bytes[bytes.size() - 8 + i] = static_cast<char>(hash.value >> (8 * i));
    return bytes;
}

ReplayHeader headerOf(const std::string& bytes) {
    return ReplayHeader::parse(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                               bytes.size());
}

std::string word(std::uint64_t value, int size) {
    std::string bytes;
    for (int i = 0; i < size; ++i)
        bytes += static_cast<char>(value >> (8 * i));
    return bytes;
}

// The rules bytes of a file of the latest format replaced, before resealing.
std::string withRules(std::string bytes, int versus, int rounds, std::uint32_t roundSteps,
                      int version = MatchRules::latestVersion) {
    const std::size_t at = headerOf(bytes).rulesAt;
    bytes.replace(at, 7,
                  word(static_cast<std::uint64_t>(versus), 1) +
                      word(static_cast<std::uint64_t>(rounds), 1) + word(roundSteps, 4) +
                      word(static_cast<std::uint64_t>(version), 1));
    return bytes;
}

// A file of the latest format as an older format would hold it, before resealing: the
// character data's fingerprint in place of the lineup and the mode, the rules as far as the
// format has them, the saved match given in its place (from version 3 on), no first step's
// number before version 4 and no result.
std::string asFormat(const std::string& bytes, unsigned version,
                     const std::string& savedMatch = "") {
    const ReplayHeader header = headerOf(bytes);
    std::string old = bytes.substr(0, 8) + word(version, 2) + word(0xc4a2, 8);
    if (version >= 2)
        old += bytes.substr(header.rulesAt, version >= 4 ? 7 : 6);
    if (version >= 3)
        old += word(savedMatch.size(), 4) + savedMatch;
    if (version >= 4)
        old += bytes.substr(header.size - 4, 4);
    const std::size_t trailerAt = bytes.size() - ReplayFormat::trailerSize();
    return old + bytes.substr(header.size, trailerAt - header.size) + bytes.substr(trailerAt, 12) +
           word(0, 8);
}

// Parses damaged contents: a ReplayError of one line, and nothing else, may come out.
std::string refusal(const std::string& bytes) {
    try {
        parseReplay(bytes, "damaged.vrp");
    } catch (const ReplayError& e) {
        const std::string text = e.what();
        EXPECT_EQ(text.find('\n'), std::string::npos) << text;
        EXPECT_EQ(text.rfind("Cannot play back 'damaged.vrp': ", 0), 0u) << text;
        return text;
    }
    ADD_FAILURE() << "accepted a damaged file of " << bytes.size() << " bytes";
    return "";
}

} // namespace

TEST_F(ReplayFileTest, ReadsBackEveryStepAndTheChecksumsEvery60Steps) {
    const std::vector<StepInput> inputs = record(dir / "match.vrp", 150, true);

    EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 1) << "a temporary file was left";
    const Replay replay = readReplay((dir / "match.vrp").string());
    EXPECT_EQ(replay.lineup, lineup());
    ASSERT_EQ(replay.steps.size(), inputs.size());
    for (std::size_t i = 0; i < inputs.size(); ++i)
        ASSERT_EQ(replay.steps[i], ReplayFormat::encodeStep(inputs[i])) << "step " << i + 1;
    EXPECT_TRUE(replay.step(149).keys.quit);
    EXPECT_EQ(replay.checkpoints,
              (std::vector<std::uint64_t>{checksum(stateAfter(60)), checksum(stateAfter(120))}));
    EXPECT_EQ(replay.finalChecksum, checksum(stateAfter(150)));
}

// A versus recording carries its rules and their version; a file of the second format, which
// has no version, plays by the first versus rules, and one of the first format, which has no
// rules, as a plain match, step for step.
TEST_F(ReplayFileTest, CarriesTheRulesWithTheirVersionAndStillReadsTheOlderFormats) {
    MatchRules versus;
    versus.versus = true;
    versus.rounds = 5;
    versus.roundSteps = 600;
    record(dir / "versus.vrp", 130, true, versus);
    const std::string bytes = contentsOf(dir / "versus.vrp");
    const Replay latest = parseReplay(bytes, "versus.vrp");
    EXPECT_TRUE(latest.rules == versus);
    EXPECT_FALSE(latest.start);

    const Replay second = parseReplay(resealed(asFormat(bytes, 2)), "second.vrp");
    MatchRules firstVersus = versus;
    firstVersus.version = MatchRules::firstVersion;
    EXPECT_TRUE(second.rules == firstVersus);
    EXPECT_EQ(second.steps, latest.steps);

    const Replay first = parseReplay(resealed(asFormat(bytes, 1)), "first.vrp");
    EXPECT_FALSE(first.rules.versus);
    EXPECT_EQ(first.steps, latest.steps);
    // Named by the default fighter's old fingerprint alone.
    EXPECT_EQ(first.characterHash, 0xc4a2u);
    EXPECT_EQ(first.lineup.fighters[1].name, "sora");
    EXPECT_EQ(first.lineup.stage.name, "dojo");
    EXPECT_FALSE(first.mode);
    EXPECT_NO_THROW(requireCharacterData(first, 0xc4a2));
    EXPECT_THROW(requireCharacterData(first, 0xc4a3), ReplayError);
}

// A recording names its fighters and stage with their fingerprints and how it was played, and
// its closing record the last match decided in it, kept however the recording ends: a rematch
// cut short leaves the match before it. The replay list reads them from the file's two ends.
// A fighter loaded from another file than the recorded one is named in the refusal.
TEST_F(ReplayFileTest, NamesItsFightersStageModeAndTheLastResult) {
    const MatchRules versus{true, 3, 600, MatchRules::latestVersion};
    ReplayMode mode;
    mode.kind = ReplayMode::Computer;
    mode.cpuLevel = 8;
    mode.cpuSide = 1;
    const fs::path path = dir / "decided.vrp";
    {
        ReplayRecorder recorder(path.string(), lineup(), mode, versus);
        for (int n = 1; n <= 200; ++n) {
            MatchState after = stateAfter(n);
            after.rules = versus;
            if (n >= 100 && n < 150) { // decided 2-1 for the second player; a rematch follows
                after.round.phase = RoundState::MatchOver;
                after.round.winner = 1;
                after.round.wins[0] = 1;
                after.round.wins[1] = 2;
            }
            recorder.record(StepInput{}, after);
        }
        ASSERT_TRUE(ReplayRecorder::completeAllAtOnce()) << "as a signal would end it";
    }
    const Replay replay = readReplay(path.string());
    EXPECT_EQ(replay.lineup, lineup());
    ASSERT_TRUE(replay.mode);
    EXPECT_EQ(*replay.mode, mode);
    ASSERT_TRUE(replay.result);
    EXPECT_EQ(replay.result->describe(), "Player 2 wins 2-1");

    const ReplaySummary summary = ReplaySummary::read(path.string());
    EXPECT_EQ(summary.fighters[0], "brann");
    EXPECT_EQ(summary.fighters[1], "sora");
    EXPECT_EQ(summary.stage, "courtyard");
    ASSERT_TRUE(summary.mode);
    EXPECT_EQ(summary.mode->describe(), "against the computer (level 8, right)");
    ASSERT_TRUE(summary.result);
    EXPECT_EQ(*summary.result, *replay.result);
    EXPECT_EQ(summary.steps, 200u);

    record(dir / "open.vrp", 130, true);
    EXPECT_FALSE(ReplaySummary::read((dir / "open.vrp").string()).result) << "no match decided";

    EXPECT_NO_THROW(requireLineup(replay, lineup()));
    Lineup otherFile = lineup();
    otherFile.fighters[1].fingerprint ^= 1;
    try {
        requireLineup(replay, otherFile);
        ADD_FAILURE() << "played with another fighter's file";
    } catch (const ReplayError& e) {
        EXPECT_NE(std::string(e.what()).find("its right fighter 'sora' was recorded from another "
                                             "file than this Vorrak's"),
                  std::string::npos)
            << e.what();
    }
}

// A recording that starts from a saved match (a spectator that joined late) carries it and the
// match's number of its first step, and its steps follow as in any file; damage to the saved
// match or the number is refused like any other. A file of the third format holds it in the
// codec's first layout, under the first versus rules, and counts from 0.
TEST_F(ReplayFileTest, AFileFromASavedMatchCarriesItAndItsFirstStepsNumber) {
    MatchState start = stateAfter(500);
    start.rules = MatchRules{true, 3, 600, MatchRules::latestVersion};
    start.round.wins[1] = 1;
    start.fighters[0].state.combo = {2, 40, 0};
    {
        ReplayRecorder recorder((dir / "late.vrp").string(), lineup(),
                                ReplayMode{ReplayMode::Watched}, start.rules, &start, 500);
        for (int n = 501; n <= 600; ++n)
            recorder.record(StepInput{}, stateAfter(n));
    }
    const std::string bytes = contentsOf(dir / "late.vrp");
    const Replay replay = parseReplay(bytes, "late.vrp");
    ASSERT_TRUE(replay.start);
    EXPECT_EQ(checksum(*replay.start), checksum(start));
    EXPECT_EQ(replay.firstStep, 500);
    EXPECT_EQ(replay.steps.size(), 100u);
    EXPECT_EQ(replay.checkpoints, (std::vector<std::uint64_t>{checksum(stateAfter(560))}));

    const ReplayHeader header = headerOf(bytes);
    const std::size_t state = header.stateAt;
    std::string farOff = bytes;
    farOff[header.size - 1] = static_cast<char>(0x80);
    EXPECT_NE(refusal(resealed(farOff)).find("first step's number, 2147484148, is out of range"),
              std::string::npos);
    EXPECT_NE(refusal(resealed(withRules(bytes, 1, 5, 600))).find("cannot be read"),
              std::string::npos); // header and saved match disagree on the rules
    std::string badBool = bytes;
    badBool[state + 12] = 2; // a flag of the left fighter, neither true nor false
    EXPECT_NE(refusal(resealed(badBool)).find("cannot be read"), std::string::npos);
    std::string oversized = bytes;
    oversized[state - 2] = 1; // a saved match of 64 KB
    EXPECT_NE(refusal(resealed(oversized)).find("does not fit"), std::string::npos);

    MatchState firstRules = start;
    firstRules.rules.version = MatchRules::firstVersion;
    firstRules.fighters[0].state.combo = {};
    const std::vector<std::uint8_t> firstLayout =
        MatchStateCodec::encode(firstRules, MatchStateCodec::firstLayout);
    const std::string third =
        asFormat(bytes, 3, std::string(firstLayout.begin(), firstLayout.end()));
    const Replay old = parseReplay(resealed(third), "third.vrp");
    ASSERT_TRUE(old.start);
    EXPECT_EQ(checksum(*old.start), checksum(firstRules));
    EXPECT_TRUE(old.rules == firstRules.rules);
    EXPECT_EQ(old.firstStep, 0);
    EXPECT_EQ(old.steps, replay.steps);
}

TEST(ReplayFormatTest, EveryValidStepSurvivesItsTwoBytes) {
    for (unsigned bits = 0; bits <= 0xffff; ++bits) {
        const auto step = static_cast<std::uint16_t>(bits);
        if (ReplayFormat::isValidStep(step)) {
            ASSERT_EQ(ReplayFormat::encodeStep(ReplayFormat::decodeStep(step)), step);
        }
    }
}

// An exception unwinding the program ends the match without Escape: the file is complete.
TEST_F(ReplayFileTest, AnErrorThatEndsTheMatchLeavesACompleteFile) {
    const fs::path path = dir / "interrupted.vrp";
    try {
        ReplayRecorder recorder(path.string(), lineup());
        for (int n = 1; n <= 70; ++n)
            recorder.record(StepInput{}, stateAfter(n));
        throw std::runtime_error("the game failed");
    } catch (const std::runtime_error&) {
    }
    const Replay replay = readReplay(path.string());
    EXPECT_EQ(replay.steps.size(), 70u);
    EXPECT_EQ(replay.finalChecksum, checksum(stateAfter(70)));
}

TEST_F(ReplayFileTest, ATargetThatCannotBeRecordedIntoIsRefusedAtOnceWithTheReason) {
    const fs::path fifo = dir / "fifo", nullLink = dir / "null", folderLink = dir / "folder";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    fs::create_symlink("/dev/null", nullLink);
    fs::create_directory_symlink(dir, folderLink);
    const std::pair<fs::path, const char*> cases[] = {
        {dir / "no-such-folder" / "m.vrp", "No such file or directory"},
        {dir, "Is a directory"},
        {folderLink, "Is a directory"},
        {fifo, "it is not a regular file"},
        {nullLink, "it is not a regular file"},
    };
    for (const auto& [target, reason] : cases) {
        for (const auto& attempt :
             {std::function<void()>([&] { ReplayRecorder::checkTarget(target.string()); }),
              std::function<void()>([&] { ReplayRecorder(target.string(), lineup()); })}) {
            try {
                attempt();
                ADD_FAILURE() << "accepted " << target;
            } catch (const ReplayError& e) {
                EXPECT_NE(std::string(e.what()).find(reason), std::string::npos) << e.what();
            }
        }
    }
    fs::remove(fifo);
    fs::remove(nullLink);
    fs::remove(folderLink);
    ReplayRecorder::checkTarget((dir / "m.vrp").string());
    EXPECT_TRUE(fs::is_empty(dir)) << "the check left a file behind";
}

// A FIFO that takes the name during the match is not replaced: the recording keeps its
// temporary name, which the report gives.
TEST_F(ReplayFileTest, TheFinalRenameNeverReplacesWhatIsNotARegularFile) {
    const fs::path path = dir / "m.vrp";
    ReplayRecorder recorder(path.string(), lineup());
    recorder.record(StepInput{}, stateAfter(1));
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    std::string reported;
    try {
        recorder.finish();
    } catch (const ReplayError& e) {
        reported = e.what();
    }
    EXPECT_TRUE(fs::is_fifo(path));
    const std::string kept = reported.substr(reported.rfind(" as '") + 5);
    ASSERT_GT(kept.size(), 1u) << reported;
    EXPECT_EQ(readReplay(kept.substr(0, kept.size() - 1)).steps.size(), 1u) << reported;
}

// A name the file system takes is recorded into, however little room it leaves for a suffix.
TEST_F(ReplayFileTest, ANameThatFitsIsRecordedIntoWhateverItsLength) {
    for (const std::size_t length : {200, 238, 239, 245, 255}) {
        const fs::path path = dir / std::string(length, 'm');
        record(path, 3, true);
        EXPECT_EQ(readReplay(path.string()).steps.size(), 3u) << length;
        fs::remove(path);
    }
    EXPECT_TRUE(fs::is_empty(dir));
}

// A handler ends the process while the game writes: whatever that write left half done is cut
// off, and the file holds every step recorded, complete under its name.
TEST_F(ReplayFileTest, CompletingAtOnceCutsOffAHalfDoneWrite) {
    const fs::path path = dir / "signalled.vrp";
    ReplayRecorder recorder(path.string(), lineup());
    ASSERT_TRUE(ReplayRecorder::completeAllAtOnce());
    EXPECT_EQ(readReplay(path.string()).steps.size(), 0u) << "before the first write";

    ReplayRecorder written((dir / "written.vrp").string(), lineup());
    for (int n = 1; n <= 130; ++n)
        written.record(StepInput{}, stateAfter(n));
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.path().filename().string().rfind("written.vrp.recording-", 0) == 0)
            std::ofstream(entry.path(), std::ios::app) << "half a flush";
    ASSERT_TRUE(ReplayRecorder::completeAllAtOnce());
    const Replay replay = readReplay((dir / "written.vrp").string());
    EXPECT_EQ(replay.steps.size(), 130u);
    EXPECT_EQ(replay.finalChecksum, checksum(stateAfter(130)));
}

// Each recording writes a file of its own: the last to finish takes the name.
TEST_F(ReplayFileTest, OfTwoRecordingsToOnePathTheLastToFinishTakesIt) {
    const fs::path path = dir / "shared.vrp";
    ReplayRecorder first(path.string(), lineup());
    ReplayRecorder second(path.string(), lineup());
    for (int n = 1; n <= 20; ++n) {
        first.record(StepInput{}, stateAfter(n));
        if (n <= 10)
            second.record(StepInput{}, stateAfter(n));
    }
    first.finish();
    second.finish();
    EXPECT_EQ(readReplay(path.string()).steps.size(), 10u);
}

// A handler that ends the process at once finishes the recording up to the last step run.
TEST_F(ReplayFileTest, FinishingEveryOpenRecordingCompletesItWithoutTheOwner) {
    const fs::path path = dir / "cut.vrp";
    ReplayRecorder recorder(path.string(), lineup());
    for (int n = 1; n <= 75; ++n)
        recorder.record(StepInput{}, stateAfter(n));
    ReplayRecorder::finishAllOpen();
    const Replay replay = readReplay(path.string());
    EXPECT_EQ(replay.steps.size(), 75u);
    EXPECT_EQ(replay.finalChecksum, checksum(stateAfter(75)));
}

// A disk that fills up in the middle of a match: the write fails at the next periodic flush,
// the player is told once, recording stops, and the steps written before it are kept.
TEST_F(ReplayFileTest, AWriteFailureIsToldAtOnceAndTheStepsWrittenBeforeItAreKept) {
    const fs::path path = dir / "full.vrp";
    // Files may grow to 1000 bytes: the flush after step 480 would pass that.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit original {};
    getrlimit(RLIMIT_FSIZE, &original);
    rlimit limited = original;
    limited.rlim_cur = 1000;
    setrlimit(RLIMIT_FSIZE, &limited);
    std::vector<std::string> told;
    std::string reported;
    {
        ReplayRecorder recorder(path.string(), lineup());
        recorder.onWriteFailure = [&told](const std::string& line) { told.push_back(line); };
        for (int n = 1; n <= 600; ++n)
            recorder.record(StepInput{}, stateAfter(n));
        try {
            recorder.finish();
        } catch (const ReplayError& e) {
            reported = e.what();
        }
    }
    setrlimit(RLIMIT_FSIZE, &original);
    std::signal(SIGXFSZ, SIG_DFL);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find("File too large"), std::string::npos) << told[0];
    EXPECT_NE(reported.find("its first 360 steps (6.0 s of play) were kept"), std::string::npos)
        << reported;
    const Replay replay = readReplay(path.string());
    EXPECT_EQ(replay.steps.size(), 360u);
    EXPECT_EQ(replay.finalChecksum, checksum(stateAfter(360)));
}

TEST_F(ReplayFileTest, RefusesEveryDamagedFileWithOneLine) {
    const std::string valid = validBytes();
    ASSERT_NO_THROW(parseReplay(valid, "valid.vrp"));

    for (std::size_t length = 0; length < valid.size(); ++length)
        refusal(valid.substr(0, length));
    for (std::size_t bit = 0; bit < valid.size() * 8; ++bit) {
        std::string flipped = valid;
        flipped[bit / 8] = static_cast<char>(flipped[bit / 8] ^ (1 << (bit % 8)));
        refusal(flipped);
    }
    std::mt19937 random(11);
    for (int round = 0; round < 2000; ++round) {
        std::string scrambled = valid;
        for (int bytes = 1 + static_cast<int>(random() % 8); bytes > 0; --bytes)
            scrambled[random() % scrambled.size()] = static_cast<char>(random());
        if (scrambled != valid)
            refusal(scrambled);
    }
    std::string junk(1 << 20, '\0');
    for (char& byte : junk)
        byte = static_cast<char>(random());
    refusal(junk);
}

TEST_F(ReplayFileTest, NamesWhatIsWrong) {
    const std::string valid = validBytes();
    std::string newer = valid;
    newer[8] = 6;
    std::string otherMagic = valid;
    otherMagic[0] = 'X';
    std::string badDirection = valid;
    const std::size_t steps = headerOf(valid).size;
    badDirection[steps] = 9;
    std::string afterQuit = valid;
    afterQuit[steps + 1] = 0x10;
    std::string badName = valid;
    badName[11] = '/'; // in the left fighter's name
    std::string badMode = valid;
    badMode[headerOf(valid).rulesAt - 3] = ReplayMode::kindCount;
    std::string badResult = valid;
    badResult[valid.size() - 11] = 1; // a winner of an open fight
    const std::pair<std::string, std::string> cases[] = {
        {"", "the file is empty"},
        {valid.substr(0, 12), "the file is truncated"},
        {valid.substr(0, valid.size() - 1), "the file is cut short (its "},
        {valid.substr(0, valid.size() - 2), "cut short or damaged (its length fits"},
        {valid + '\n', "the file is too long (its recording ends at byte " +
                            std::to_string(valid.size()) + " of " +
                            std::to_string(valid.size() + 1) + ")"},
        {valid + std::string(2, '\0'), "the file is too long (its recording ends at byte"},
        {valid + std::string(130, 'x'), "the file is too long (its recording ends at byte"},
        {otherMagic, "not a Vorrak replay"},
        {newer, "recorded by a newer Vorrak (replay format 6; this one reads format 5)"},
        {resealed(badName), "its left fighter's name cannot be one"},
        {resealed(badMode), "it names a mode this Vorrak does not have"},
        {resealed(badResult), "its result cannot be"},
        {resealed(withRules(valid, 1, 4, 5940)), "names rules this Vorrak does not have"},
        {resealed(withRules(valid, 2, 3, 5940)), "names rules this Vorrak does not have"},
        {resealed(withRules(valid, 1, 3, 0)), "names rules this Vorrak does not have"},
        {resealed(withRules(valid, 1, 3, 5940, 4)), "names rules this Vorrak does not have"},
        {resealed(withRules(valid, 1, 3, 5940, 0)), "names rules this Vorrak does not have"},
        {resealed(badDirection), "step 1 has a direction that does not exist"},
        {resealed(afterQuit), "steps follow the quit at step 1"},
    };
    for (const auto& [bytes, reason] : cases)
        EXPECT_NE(refusal(bytes).find(reason), std::string::npos) << reason;
}

// A match ends the moment a player has won more than half its rounds, or as a draw once twice
// its rounds were played: a closing record that claims any other score is refused.
TEST_F(ReplayFileTest, RefusesAResultItsRoundsCannotReach) {
    const std::string valid = validBytes();
    const auto decided = [&](int rounds, int winner, int wins1, int wins2) {
        std::string bytes = withRules(valid, 1, rounds, 5940);
        const std::size_t at = bytes.size() - 11;
        bytes.replace(at, 3, word(static_cast<std::uint64_t>(winner), 1) +
                                 word(static_cast<std::uint64_t>(wins1), 1) +
                                 word(static_cast<std::uint64_t>(wins2), 1));
        return resealed(bytes);
    };
    const std::string impossible[] = {
        decided(1, 1, 0, 0), // a winner with no round in a one-round match
        decided(3, 2, 0, 1), // one round short of winning three
        decided(3, 1, 3, 0), // a round beyond the match's end
        decided(3, 1, 1, 2), // a winner with fewer rounds than the loser
        decided(5, 1, 3, 3), // both players winning
        decided(3, 3, 2, 0), // a draw in which a player had won
    };
    for (const std::string& bytes : impossible)
        EXPECT_NE(refusal(bytes).find("its result cannot be"), std::string::npos);
    std::ofstream(dir / "listed.vrp", std::ios::binary) << impossible[0];
    EXPECT_THROW(ReplaySummary::read((dir / "listed.vrp").string()), ReplayError);

    const std::pair<std::string, const char*> reachable[] = {
        {decided(1, 1, 1, 0), "Player 1 wins 1-0"},
        {decided(3, 2, 1, 2), "Player 2 wins 2-1"},
        {decided(3, 3, 1, 1), "Draw 1-1"},
        {decided(3, 3, 1, 0), "Draw 1-0"}, // five rounds drawn beside the one won
    };
    for (const auto& [bytes, told] : reachable) {
        const Replay replay = parseReplay(bytes, "decided.vrp");
        ASSERT_TRUE(replay.result) << told;
        EXPECT_EQ(replay.result->describe(), told);
    }
}

// Gigabytes of nothing are refused by their size, unread: the test would take minutes otherwise.
TEST_F(ReplayFileTest, RefusesAHugeFileUnread) {
    const fs::path huge = dir / "huge.vrp";
    std::ofstream(huge).close();
    fs::resize_file(huge, std::uintmax_t{8} << 30);
    try {
        readReplay(huge.string());
        FAIL() << "accepted 8 GiB";
    } catch (const ReplayError& e) {
        EXPECT_NE(std::string(e.what()).find("too large"), std::string::npos) << e.what();
    }
    EXPECT_THROW(readReplay(dir.string()), ReplayError);
    EXPECT_THROW(readReplay((dir / "missing.vrp").string()), ReplayError);
}
