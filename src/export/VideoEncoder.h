#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

struct AVCodecContext;
struct AVFrame;
struct AVStream;

// Writes pictures of a 60th of a second each into a video file through FFmpeg's libraries: H.264
// in .mp4, VP9 in .webm, lossless FFV1 in .mkv; with audio, each picture's sound beside it, 48 kHz
// stereo: AAC in .mp4, Opus in .webm, lossless FLAC in .mkv. The file is written under a
// temporary name of its own beside path and takes path's name only once finish() has completed
// it; an encoder destroyed before that removes it, so a failed or interrupted export leaves
// nothing behind. Owned by the export that feeds it; it knows nothing of the engine.
//
// It lives in the export module, which only --export loads (see ExportModule): the program
// reaches it only through its virtual functions, so a new call across the boundary is one more
// virtual function here (and interfaceVersion raised by one).
class VideoEncoder {
public:
    static constexpr int framesPerSecond = 60;
    static constexpr int audioRate = 48000;
    // The sound of one picture, exactly: picture and sound stay together to the sample.
    static constexpr int audioFramesPerPicture = audioRate / framesPerSecond;
    // The module and the program must agree on this class's layout of virtual functions.
    static constexpr int interfaceVersion = 2;

    // Creates the temporary file and opens the encoder; throws ExportError when either fails.
    VideoEncoder(const std::string& path, int width, int height, bool withAudio = false);
    virtual ~VideoEncoder();

    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;

    // One picture of width by height pixels of four bytes each (blue, green, red, unused), top
    // row first, rows stride bytes apart. Throws ExportError when encoding or writing fails.
    virtual void addFrame(const std::uint8_t* pixels, std::ptrdiff_t stride);
    // With audio, the sound of the picture added last: audioFramesPerPicture frames of left and
    // right samples from -1 to 1, interleaved. Throws ExportError.
    virtual void addAudio(const float* stereo);
    // Flushes the encoder, completes the file and gives it its name; throws ExportError.
    virtual void finish();

private:
    struct Streams;

    void open();
    void openAudio(const char* encoderName);
    void encodeAudio(int frames);
    [[noreturn]] void fail(const std::string& reason) const;
    [[noreturn]] void fail(int error) const;
    [[noreturn]] void fail(const std::string& what, int error) const;
    // Hands the codec a frame (none: the end) and writes every packet it has ready.
    void send(AVCodecContext* codec, AVStream* stream, const AVFrame* frame);
    void discard() noexcept;

    std::string path;
    std::string partPath;
    int width;
    int height;
    bool withAudio;
    std::int64_t framesSent = 0;
    std::int64_t audioFramesSent = 0;
    bool finished = false;
    std::unique_ptr<Streams> streams;
};
