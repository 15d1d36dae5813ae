#include "app/ResourceFileCheck.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fstream>
#include <memory>

#include <OgreException.h>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

namespace {

const char* kindOf(mode_t mode) {
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISFIFO(mode))
        return "a FIFO (named pipe)";
    if (S_ISCHR(mode))
        return "a character device";
    if (S_ISBLK(mode))
        return "a block device";
    if (S_ISSOCK(mode))
        return "a socket";
    return "not a regular file";
}

[[noreturn]] void reject(const std::string& text) {
    OGRE_EXCEPT(Ogre::Exception::ERR_INVALIDPARAMS, text, "ResourceFileCheck");
}

void requirePathWithinLimit(const std::string& path) {
    if (path.size() < PATH_MAX)
        return;
    reject("The path '" + path + "' is too long: " + std::to_string(path.size()) +
           " characters, the system's limit is " + std::to_string(PATH_MAX - 1) +
           ". Install the game in a folder with a shorter path.");
}

bool endsWith(const std::string& name, const std::string& ending) {
    return name.size() > ending.size() &&
           name.compare(name.size() - ending.size(), ending.size(), ending) == 0;
}

// The script files the engine's resource groups parse, by their endings.
bool isScript(const std::string& name) {
    static const char* const endings[] = {".material", ".program",  ".compositor", ".particle",
                                          ".os",       ".overlay",  ".fontdef"};
    for (const char* ending : endings)
        if (endsWith(name, ending))
            return true;
    return false;
}

// Whether the blocks of the script nest deeper than maxDepth, read as the engine's lexer reads
// them: braces in comments and quoted text open no block.
bool nestsDeeperThan(std::istream& script, int maxDepth) {
    enum class In { code, quote, lineComment, blockComment } in = In::code;
    int depth = 0;
    char previous = 0;
    for (char c; script.get(c); previous = c) {
        switch (in) {
        case In::code:
            if (c == '"')
                in = In::quote;
            else if (previous == '/' && (c == '/' || c == '*')) {
                in = c == '/' ? In::lineComment : In::blockComment;
                c = 0; // so that "/*/" does not end the comment it opens
            } else if (c == '{' && ++depth > maxDepth)
                return true;
            else if (c == '}' && depth > 0)
                --depth;
            break;
        case In::quote:
            if (c == '"')
                in = In::code;
            break;
        case In::lineComment:
            if (c == '\n')
                in = In::code;
            break;
        case In::blockComment:
            if (previous == '*' && c == '/') {
                in = In::code;
                c = 0;
            }
            break;
        }
    }
    return false;
}

void requireSaneScript(const std::string& path, std::uintmax_t size) {
    if (size > ResourceFileCheck::maxScriptBytes)
        reject("The script '" + path + "' is " + std::to_string(size) +
               " bytes long; a script may hold at most 4 MiB");
    std::ifstream script(path, std::ios::binary);
    if (nestsDeeperThan(script, ResourceFileCheck::maxScriptDepth))
        reject("The script '" + path + "' nests its blocks ('{') more than " +
               std::to_string(ResourceFileCheck::maxScriptDepth) + " deep, the limit for a script");
}

std::uint32_t bigEndian(const unsigned char* bytes) {
    return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
           std::uint32_t{bytes[2]} << 8 | bytes[3];
}

// What is wrong with the PNG image, or "" when its signature, every chunk up to IEND with its
// length and check value, and its first chunk (IHDR) are as the format has them.
std::string damageOfPng(std::istream& image) {
    static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    unsigned char head[8];
    if (!image.read(reinterpret_cast<char*>(head), 8) || std::memcmp(head, signature, 8) != 0)
        return "it is not a PNG image";
    for (int chunk = 0;; ++chunk) {
        if (!image.read(reinterpret_cast<char*>(head), 8))
            return "it is cut short (no IEND chunk)";
        const std::string type(reinterpret_cast<const char*>(head + 4), 4);
        if (chunk == 0 && type != "IHDR")
            return "its first chunk is not IHDR";
        // Read in blocks: a damaged length may claim gigabytes the file does not have.
        uLong crc = crc32(0, head + 4, 4);
        char block[65536];
        for (std::uint32_t left = bigEndian(head); left > 0;) {
            const auto size = std::min<std::uint32_t>(left, sizeof block);
            if (!image.read(block, size))
                return "it is cut short (in chunk " + std::to_string(chunk) + ")";
            crc = crc32(crc, reinterpret_cast<const Bytef*>(block), size);
            left -= size;
        }
        unsigned char stored[4];
        if (!image.read(reinterpret_cast<char*>(stored), 4))
            return "it is cut short (in chunk " + std::to_string(chunk) + ")";
        if (crc != bigEndian(stored))
            return "chunk " + std::to_string(chunk) + " (" + type + ") fails its check value";
        // What follows the end is no part of the image: decoders never read it.
        if (type == "IEND")
            return "";
    }
}

void requireIntactPng(const std::string& path) {
    std::ifstream image(path, std::ios::binary);
    const std::string damage = damageOfPng(image);
    if (!damage.empty())
        reject("The image '" + path + "' is damaged: " + damage);
}

} // namespace

void ResourceFileCheck::requireSpriteTable(const std::string& path) {
    const std::string what = "The sprite table '" + path + "'";
    requirePathWithinLimit(path);
    struct stat status {};
    // stat, not open: opening a FIFO would block until someone writes to it.
    if (stat(path.c_str(), &status) != 0 || access(path.c_str(), R_OK) != 0)
        reject(what + " cannot be read: " + std::strerror(errno));
    if (!S_ISREG(status.st_mode))
        reject(what + " is " + kindOf(status.st_mode) + "; it must be a regular file");
    if (static_cast<std::uintmax_t>(status.st_size) > maxSpriteTableBytes)
        reject(what + " is " + std::to_string(status.st_size) +
               " bytes long; a sprite table may hold at most 1 MiB");
}

void ResourceFileCheck::requireMediaFolder(const std::string& folder) {
    requirePathWithinLimit(folder + "/");
    const std::unique_ptr<DIR, int (*)(DIR*)> directory(opendir(folder.c_str()), closedir);
    if (!directory)
        return;
    while (const dirent* entry = readdir(directory.get())) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        const std::string path = folder + "/" + name;
        requirePathWithinLimit(path);
        struct stat status {};
        if (stat(path.c_str(), &status) != 0)
            reject("The media file '" + path + "' cannot be read: " + std::strerror(errno));
        if (!S_ISREG(status.st_mode) && !S_ISDIR(status.st_mode))
            reject("The media file '" + path + "' is " + kindOf(status.st_mode) +
                   "; it must be a regular file");
        if (S_ISREG(status.st_mode) && isScript(name))
            requireSaneScript(path, static_cast<std::uintmax_t>(status.st_size));
        if (S_ISREG(status.st_mode) && endsWith(name, ".png"))
            requireIntactPng(path);
    }
}
