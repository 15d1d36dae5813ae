#pragma once

#include <memory>
#include <string>

class VideoEncoder;

// The video encoder and FFmpeg's libraries live in a module of their own beside the program,
// opened only when a replay is exported: the game itself starts without FFmpeg's hundred-odd
// libraries. The module gives the program its encoders through one C function and tells the
// version of VideoEncoder's virtual functions it was built with, so a module from another
// build is refused instead of called. Made by the Application for an export; the module stays
// loaded to the end of the process, since an encoder's functions and the errors it throws live
// in it.
class ExportModule {
public:
    static constexpr const char* fileName = "vorrak-export.so";
    // The module's two entry points.
    static constexpr const char* interfaceSymbol = "vorrakExportInterface";
    static constexpr const char* createSymbol = "vorrakCreateVideoEncoder";

    // Opens folder/fileName; throws ExportError (status 1) naming video when it is missing or
    // broken.
    ExportModule(const std::string& folder, const std::string& video);

    // An encoder writing path, as VideoEncoder's constructor makes it.
    std::unique_ptr<VideoEncoder> createEncoder(const std::string& path, int width, int height,
                                                bool withAudio) const;

private:
    using Create = VideoEncoder* (*)(const char* path, int width, int height, bool withAudio);

    Create create = nullptr;
};
