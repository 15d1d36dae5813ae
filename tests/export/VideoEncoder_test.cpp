#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include <unistd.h>

#include "export/ExportError.h"
#include "export/VideoEncoder.h"

namespace fs = std::filesystem;

namespace {

class VideoEncoderTest : public ::testing::Test {
protected:
    VideoEncoderTest()
        : dir(fs::temp_directory_path() / ("vorrak-encoder-" + std::to_string(getpid()))) {
        fs::create_directories(dir);
    }
    ~VideoEncoderTest() override { fs::remove_all(dir); }

    // What is in the folder after a few grey pictures, finished or not.
    std::vector<std::string> filesAfter(const std::string& name, bool finish) {
        {
            VideoEncoder encoder((dir / name).string(), 32, 16);
            const std::vector<std::uint8_t> grey(32 * 16 * 4, 128);
            for (int n = 0; n < 3; ++n)
                encoder.addFrame(grey.data(), 32 * 4);
            if (finish)
                encoder.finish();
        }
        std::vector<std::string> files;
        for (const fs::directory_entry& entry : fs::directory_iterator(dir))
            files.push_back(entry.path().filename().string());
        return files;
    }

    fs::path dir;
};

} // namespace

// An export stopped before its end (a signal, an error) leaves nothing; a finished one leaves
// the whole file under its own name only.
TEST_F(VideoEncoderTest, OnlyAFinishedVideoIsLeftAndUnderItsOwnName) {
    for (const char* name : {"clip.mkv", "clip.MP4", "clip.webm"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(filesAfter(name, false).empty());
        EXPECT_EQ(filesAfter(name, true), std::vector<std::string>{name});
        fs::remove(dir / name);
    }
    EXPECT_THROW(VideoEncoder((dir / "no" / "clip.mkv").string(), 32, 16), ExportError);
}
