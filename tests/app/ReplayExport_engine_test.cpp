#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include <Ogre.h>
#include <unistd.h>

#include "app/ReplayExport.h"
#include "app/programDirectory.h"
#include "export/ExportModule.h"
#include "replay/ReplayPlayback.h"
#include "replay/ReplayReader.h"
#include "replay/ReplayRecorder.h"
#include "support/EngineEnvironment.h"
#include "support/RandomInputs.h"
#include "support/SteppedMatch.h"
#include "support/testFighters.h"

namespace fs = std::filesystem;

namespace {

const int width = 800, height = 600;
using Picture = std::vector<std::uint8_t>;

std::string run(const std::string& command) {
    std::string output;
    const std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    char buffer[1 << 16];
    while (const std::size_t read = fread(buffer, 1, sizeof buffer, pipe.get()))
        output.append(buffer, read);
    return output;
}

// Blue, green, red of every pixel; the fourth byte means nothing in either picture.
Picture colours(const std::uint8_t* bgrx) {
    Picture picture;
    picture.reserve(width * height * 3);
    for (int i = 0; i < width * height; ++i)
        picture.insert(picture.end(), bgrx + 4 * i, bgrx + 4 * i + 3);
    return picture;
}

// The game's own screenshot: the window drawn as the render loop draws it, read back.
Picture windowPicture() {
    EngineEnvironment::renderFrame();
    std::vector<std::uint8_t> pixels(width * height * 4);
    const Ogre::PixelBox box(width, height, 1, Ogre::PF_X8R8G8B8, pixels.data());
    EngineEnvironment::app().getWindow()->copyContentsToMemory(box, box);
    return colours(pixels.data());
}

// Picture n (from 0) of a video, decoded by the ffmpeg program.
Picture videoPicture(const fs::path& video, int n) {
    const std::string bytes =
        run("ffmpeg -v error -i '" + video.string() + "' -vf 'select=eq(n\\," + std::to_string(n) +
            ")' -vsync 0 -f rawvideo -pix_fmt bgr0 -");
    if (bytes.size() != width * height * 4u)
        return {};
    return colours(reinterpret_cast<const std::uint8_t*>(bytes.data()));
}

int differingPixels(const Picture& a, const Picture& b) {
    if (a.size() != b.size())
        return width * height;
    int count = 0;
    for (std::size_t i = 0; i < a.size(); i += 3)
        count += a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2];
    return count;
}

class ReplayExportTest : public ::testing::Test {
protected:
    ReplayExportTest() : dir(fs::temp_directory_path() / ("vorrak-export-" + std::to_string(getpid()))) {
        fs::create_directories(dir);
    }
    ~ReplayExportTest() override { fs::remove_all(dir); }

    // A match of random play, the debug displays switched by the recorded F1 to F3; recorded
    // from its step `from` on, as a spectator who joined then records it.
    Replay recordMatch(int steps, int from = 0) {
        const std::string path = (dir / "match.vrp").string();
        SteppedMatch match(EngineEnvironment::app());
        RandomInputs inputs(19);
        for (int n = 0; n < from; ++n)
            match.step(inputs.next(match.match->save()));
        const MatchState joined = match.match->save();
        ReplayRecorder recorder(path, defaultLineup(), {}, joined.rules,
                                from > 0 ? &joined : nullptr, from);
        for (int n = 1; n <= steps; ++n) {
            StepInput input = inputs.next(match.match->save());
            input.keys.showInputPanels = n == 20;
            input.keys.showHitboxes = n == 30;
            match.step(input);
            recorder.record(input, match.match->save());
        }
        recorder.finish();
        return readReplay(path);
    }

    fs::path exportVideo(const Replay& replay, const char* name, std::size_t from, std::size_t to) {
        ExportSettings settings;
        settings.path = (dir / name).string();
        settings.from = from;
        settings.to = to;
        SteppedMatch match(EngineEnvironment::app());
        const ExportModule module(programDirectory(), settings.path);
        ReplayExport(*match.match, *match.game, *match.view, EngineEnvironment::app().getCamera(),
                     module, settings, SoundSettings{},
                     EngineEnvironment::app().getResourceDir() + "/media/sounds")
            .run(replay);
        return settings.path;
    }

    fs::path dir;
};

} // namespace

// Frame n is the screen after step n: the whole replay, and a cut whose first steps are run
// without being drawn, against the window after a plain playback of the same replay.
TEST_F(ReplayExportTest, EveryFrameIsTheGamesOwnScreenAfterItsStep) {
    const Replay replay = recordMatch(90);
    const fs::path whole = exportVideo(replay, "whole.mkv", 1, 0);
    const fs::path cut = exportVideo(replay, "cut.mkv", 40, 70);
    const std::string probe = "ffprobe -v error -count_frames -select_streams v -show_entries "
                              "stream=codec_name,width,height,r_frame_rate,nb_read_frames "
                              "-of csv=p=0 '";
    EXPECT_EQ(run(probe + whole.string() + "'"), "ffv1,800,600,60/1,90\n");
    EXPECT_EQ(run(probe + cut.string() + "'"), "ffv1,800,600,60/1,31\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 3)
        << "a temporary file was left beside the replay and the two videos";

    // step, video, picture of the video
    const std::vector<std::tuple<int, fs::path, int>> chosen = {
        {1, whole, 0}, {40, cut, 0}, {60, whole, 59}, {70, cut, 30}, {90, whole, 89}};
    SteppedMatch match(EngineEnvironment::app());
    ReplayPlayback playback(*match.match, replay);
    int step = 0;
    for (const auto& [at, video, picture] : chosen) {
        while (step < at) {
            playback.step(StepInput{});
            ++step;
        }
        SCOPED_TRACE("step " + std::to_string(at) + " in " + video.filename().string());
        EXPECT_EQ(differingPixels(videoPicture(video, picture), windowPicture()), 0);
    }
}

// A spectator's recording from the middle of a match: its first picture is the screen after its
// first step, played on from the match it starts from.
TEST_F(ReplayExportTest, ARecordingFromTheMiddleOfAMatchIsExportedFromThere) {
    const Replay replay = recordMatch(20, 100);
    const fs::path video = exportVideo(replay, "late.mkv", 1, 0);
    SteppedMatch match(EngineEnvironment::app());
    ReplayPlayback playback(*match.match, replay);
    playback.step(StepInput{});
    EXPECT_EQ(differingPixels(videoPicture(video, 0), windowPicture()), 0);
}
