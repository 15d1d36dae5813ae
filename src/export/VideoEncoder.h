#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// Writes pictures of a 60th of a second each into a video file through FFmpeg's libraries: H.264
// in .mp4, VP9 in .webm, lossless FFV1 in .mkv. The file is written under a temporary name of its
// own beside path and takes path's name only once finish() has completed it; an encoder destroyed
// before that removes it, so a failed or interrupted export leaves nothing behind. Owned by the
// export that feeds it; it knows nothing of the engine.
//
// It lives in the export module, which only --export loads (see ExportModule): the program
// reaches it only through its virtual functions, so a new call across the boundary is one more
// virtual function here (and interfaceVersion raised by one).
class VideoEncoder {
public:
    static constexpr int framesPerSecond = 60;
    // The module and the program must agree on this class's layout of virtual functions.
    static constexpr int interfaceVersion = 1;

    // Creates the temporary file and opens the encoder; throws ExportError when either fails.
    VideoEncoder(const std::string& path, int width, int height);
    virtual ~VideoEncoder();

    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;

    // One picture of width by height pixels of four bytes each (blue, green, red, unused), top
    // row first, rows stride bytes apart. Throws ExportError when encoding or writing fails.
    virtual void addFrame(const std::uint8_t* pixels, std::ptrdiff_t stride);
    // Flushes the encoder, completes the file and gives it its name; throws ExportError.
    virtual void finish();

private:
    struct Streams;

    void open();
    [[noreturn]] void fail(const std::string& reason) const;
    [[noreturn]] void fail(int error) const;
    [[noreturn]] void fail(const std::string& what, int error) const;
    void send(bool last);
    void discard() noexcept;

    std::string path;
    std::string partPath;
    int width;
    int height;
    std::int64_t framesSent = 0;
    bool finished = false;
    std::unique_ptr<Streams> streams;
};
