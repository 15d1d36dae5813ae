#pragma once

#include <string>

// The video file an export writes: its name is checked before the engine starts, and the
// pictures go into a temporary file of the export's own beside it, which takes the name only
// once complete, so a user's file of any other name is never touched. Used by the program at
// start and by the encoder in the export module.
class VideoTarget {
public:
    // True when the file name ends in .mp4, .webm or .mkv (in any case): the types the export
    // module writes.
    static bool supported(const std::string& path);

    // Throws ExportError when nothing could be written under path: an existing folder or other
    // file that is not a regular one, or a folder where no file can be made.
    static void check(const std::string& path);

    // Creates an empty temporary file beside path, "path.export-XXXXXX", with the permissions of
    // any new file, and returns its name; throws ExportError when none can be made.
    static std::string createTemporary(const std::string& path);
};
