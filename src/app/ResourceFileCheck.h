#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "app/DecodedImage.h"

// Checks the files the game reads before the engine opens them, and ends start-up with a
// report naming the file and what is wrong: the engine's readers block on a FIFO, never end on
// a directory or a device, and a path beyond the system's limit fails with errors about
// missing materials or files that do exist. Called by the Application during start-up.
class ResourceFileCheck {
public:
    // The engine's script compiler reads a script whole and calls itself for every block inside
    // a block: a script nested thousands deep overflows the stack. The game's own scripts are a
    // few KiB and nest 4 deep.
    static constexpr std::uintmax_t maxScriptBytes = 4 * 1024 * 1024;
    static constexpr int maxScriptDepth = 64;
    // Wider or taller images are refused undecoded: no display takes them as one texture.
    static constexpr unsigned maxImageSide = 16384;

    // The media folder: every path in it within the system's limit, nothing in it but regular
    // files and folders, every script the engine parses (materials, fonts, overlays, programs,
    // compositors, particle systems) at most maxScriptBytes long and its blocks ("{") nested at
    // most maxScriptDepth deep, no script importing itself or a script that imports it back,
    // and every PNG image whole: its chunks and check values, and libpng decodes all of it
    // (at most maxImageSide on a side): the engine's image decoder ignores the images' check
    // values, and some damaged images keep it busy for good. A folder that cannot be listed is
    // left to the engine's report. Returns the 8-bit RGB and RGBA images as decoded, by file
    // name, for the engine to take.
    using Images = std::map<std::string, DecodedImage>;
    static Images requireMediaFolder(const std::string& folder);
};
