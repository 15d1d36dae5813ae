#pragma once

#include <cstdint>
#include <string>

// Checks the files the game reads before the engine opens them, and ends start-up with a
// report naming the file and what is wrong: the engine's readers block on a FIFO, never end on
// a directory or a device, and a path beyond the system's limit fails with errors about
// missing materials or files that do exist. Called by the Application during start-up.
class ResourceFileCheck {
public:
    static constexpr std::uintmax_t maxSpriteTableBytes = 1024 * 1024;

    // The sprite table: a readable regular file (or a link to one) of at most
    // maxSpriteTableBytes.
    static void requireSpriteTable(const std::string& path);

    // The media folder: every path in it within the system's limit, and nothing in it but
    // regular files and folders. A folder that cannot be listed is left to the engine's report.
    static void requireMediaFolder(const std::string& folder);
};
