#include "app/ResourceFileCheck.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <vector>

#include <OgreException.h>
#include <dirent.h>
#include <png.h>
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

// The files a script imports ("import * from "Other.material"" or "import Name from File"),
// read as the engine's lexer reads them: comments and quoted text are single tokens or none.
std::vector<std::string> importsOf(std::istream& script) {
    std::vector<std::string> tokens;
    const std::string text{std::istreambuf_iterator<char>(script), {}};
    for (std::size_t at = 0; at < text.size();) {
        const char c = text[at];
        if (std::isspace(static_cast<unsigned char>(c)) || c == '{' || c == '}') {
            ++at;
        } else if (text.compare(at, 2, "//") == 0) {
            at = text.find('\n', at);
        } else if (text.compare(at, 2, "/*") == 0) {
            at = text.find("*/", at + 2);
            at = at == std::string::npos ? at : at + 2;
        } else if (c == '"') {
            const std::size_t end = text.find('"', at + 1);
            tokens.push_back(text.substr(at + 1, end - at - 1));
            at = end == std::string::npos ? end : end + 1;
        } else {
            const std::size_t end = text.find_first_of(" \t\r\n{}\"", at);
            tokens.push_back(text.substr(at, end - at));
            at = end;
        }
    }
    std::vector<std::string> imported;
    for (std::size_t i = 0; i + 3 < tokens.size(); ++i)
        if (tokens[i] == "import" && tokens[i + 2] == "from")
            imported.push_back(tokens[i + 3]);
    return imported;
}

// Script names to the names they import.
using ImportGraph = std::map<std::string, std::vector<std::string>>;

// The first cycle of imports among the scripts, from and back to one script; empty if none.
std::vector<std::string> importCycle(const ImportGraph& imports) {
    enum class Visit { open, done };
    std::map<std::string, Visit> visits;
    std::vector<std::string> path;
    std::function<bool(const std::string&)> reachesOpen = [&](const std::string& name) {
        const auto visit = visits.find(name);
        if (visit != visits.end()) {
            if (visit->second == Visit::done)
                return false;
            path.erase(path.begin(), std::find(path.begin(), path.end(), name));
            path.push_back(name);
            return true;
        }
        const auto script = imports.find(name);
        if (script == imports.end())
            return false;
        visits[name] = Visit::open;
        path.push_back(name);
        for (const std::string& imported : script->second)
            if (reachesOpen(imported))
                return true;
        path.pop_back();
        visits[name] = Visit::done;
        return false;
    };
    for (const auto& script : imports)
        if (reachesOpen(script.first))
            return path;
    return {};
}

// The engine's script compiler follows imports without remembering where it has been: a script
// that imports itself, or scripts that import each other, overflow its stack.
void requireNoImportCycle(const std::string& folder, const ImportGraph& imports) {
    const std::vector<std::string> cycle = importCycle(imports);
    if (cycle.empty())
        return;
    if (cycle.size() == 2)
        reject("The script '" + folder + "/" + cycle[0] + "' imports itself");
    std::string text = "The scripts in '" + folder + "' import each other in a cycle: " + cycle[0];
    for (std::size_t i = 1; i < cycle.size(); ++i)
        text += (i == 1 ? " imports " : ", which imports ") + cycle[i];
    reject(text);
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

// libpng reports an error by a long jump back to where the decoding began: nothing on the way
// may own anything, so the decoding keeps all it holds in this record.
struct PngDecoding {
    std::FILE* file = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;
    png_bytep row = nullptr;
    // The whole image when it is kept: 8-bit RGB or RGBA, the kinds the engine's own decoder
    // gives in the same layout. Freed with the decoding when it fails.
    DecodedImage* image = nullptr;
    char error[256] = "";
};

void onPngError(png_structp png, png_const_charp message) {
    auto* decoding = static_cast<PngDecoding*>(png_get_error_ptr(png));
    std::snprintf(decoding->error, sizeof decoding->error, "%s", message);
    png_longjmp(png, 1);
}

// What libpng mends by itself (a damaged ancillary chunk is dropped) is no damage here.
void ignorePngWarning(png_structp, png_const_charp) {}

// Larger images are decoded a row at a time and left to the engine's decoder: a hostile
// image within the side limit would otherwise hold a gigabyte.
constexpr png_uint_32 maxKeptPixels = 4096 * 4096;

bool keepsAsDecoded(png_structp png, png_infop info) {
    const png_byte type = png_get_color_type(png, info);
    return png_get_bit_depth(png, info) == 8 && !png_get_valid(png, info, PNG_INFO_tRNS) &&
           (type == PNG_COLOR_TYPE_RGB || type == PNG_COLOR_TYPE_RGB_ALPHA) &&
           png_get_image_width(png, info) <= maxKeptPixels / png_get_image_height(png, info);
}

// The row of the kept image, or the one scratch row of an image that is not kept.
png_bytep rowOf(PngDecoding& decoding, png_uint_32 y, std::size_t rowBytes) {
    if (decoding.image->pixels.empty())
        return decoding.row;
    return decoding.image->pixels.data() + y * rowBytes;
}

// Reads every row of every pass and the chunks after the image, a row at a time.
void decodeRows(PngDecoding& decoding) {
    if (setjmp(png_jmpbuf(decoding.png)))
        return;
    png_init_io(decoding.png, decoding.file);
    png_set_user_limits(decoding.png, ResourceFileCheck::maxImageSide,
                        ResourceFileCheck::maxImageSide);
    png_read_info(decoding.png, decoding.info);
    const int passes = png_set_interlace_handling(decoding.png);
    png_read_update_info(decoding.png, decoding.info);
    const std::size_t rowBytes = png_get_rowbytes(decoding.png, decoding.info);
    const png_uint_32 height = png_get_image_height(decoding.png, decoding.info);
    if (keepsAsDecoded(decoding.png, decoding.info)) {
        decoding.image->width = png_get_image_width(decoding.png, decoding.info);
        decoding.image->height = height;
        decoding.image->channels = png_get_channels(decoding.png, decoding.info);
        decoding.image->pixels.resize(rowBytes * height);
    } else {
        decoding.row = static_cast<png_bytep>(png_malloc(decoding.png, rowBytes));
    }
    // Each pass of an interlaced image adds its pixels to the rows the passes before filled.
    for (int pass = 0; pass < passes; ++pass)
        for (png_uint_32 y = 0; y < height; ++y)
            png_read_row(decoding.png, rowOf(decoding, y, rowBytes), nullptr);
    png_read_end(decoding.png, nullptr);
}

// What keeps libpng from decoding the whole image, or "": image data cut short or damaged
// behind check values that were made to fit. What it decoded goes to image.
std::string decodingFailure(const std::string& path, DecodedImage& image) {
    PngDecoding decoding;
    decoding.image = &image;
    decoding.file = std::fopen(path.c_str(), "rb");
    if (!decoding.file)
        return std::strerror(errno);
    decoding.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &decoding, onPngError,
                                          ignorePngWarning);
    if (decoding.png)
        decoding.info = png_create_info_struct(decoding.png);
    if (decoding.info)
        decodeRows(decoding);
    else
        std::snprintf(decoding.error, sizeof decoding.error, "out of memory");
    if (decoding.row)
        png_free(decoding.png, decoding.row);
    png_destroy_read_struct(&decoding.png, &decoding.info, nullptr);
    std::fclose(decoding.file);
    return decoding.error;
}

// The image as decoded, with no pixels when it is of a kind not kept.
DecodedImage requireIntactPng(const std::string& path, std::uintmax_t fileBytes) {
    std::ifstream file(path, std::ios::binary);
    std::string damage = damageOfPng(file);
    DecodedImage image;
    image.fileBytes = fileBytes;
    if (damage.empty()) {
        const std::string failure = decodingFailure(path, image);
        if (!failure.empty())
            damage = "it does not decode (" + failure + ")";
    }
    if (!damage.empty())
        reject("The image '" + path + "' is damaged: " + damage);
    return image;
}

} // namespace

ResourceFileCheck::Images ResourceFileCheck::requireMediaFolder(const std::string& folder) {
    requirePathWithinLimit(folder + "/");
    const std::unique_ptr<DIR, int (*)(DIR*)> directory(opendir(folder.c_str()), closedir);
    Images images;
    if (!directory)
        return images;
    ImportGraph imports;
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
        if (S_ISREG(status.st_mode) && isScript(name)) {
            requireSaneScript(path, static_cast<std::uintmax_t>(status.st_size));
            std::ifstream script(path, std::ios::binary);
            imports[name] = importsOf(script);
        }
        if (S_ISREG(status.st_mode) && endsWith(name, ".png")) {
            DecodedImage image =
                requireIntactPng(path, static_cast<std::uintmax_t>(status.st_size));
            if (!image.pixels.empty())
                images[name] = std::move(image);
        }
    }
    requireNoImportCycle(folder, imports);
    return images;
}
