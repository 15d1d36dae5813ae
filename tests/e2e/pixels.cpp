// Counts pixels of a window, or of a picture of it in xwd's format, for the end-to-end tests: one
// quick call per check, where an image tool takes seconds on a busy machine. Prints the count.
// Usage:
//   pixels dominant r|g SOURCE REGION       the channel exceeds both others by a quarter of full
//   pixels bright PERCENT SOURCE REGION     the brightest channel exceeds PERCENT of full
//   pixels between R,G,B R,G,B SOURCE REGION   each channel lies within the two (0 to 255)
//   pixels differ PERCENT SOURCE OTHER REGION [+X+Y]   some channel of the two differs by more
//       than PERCENT; OTHER's region is at +X+Y when given, else where SOURCE's is
// SOURCE is a picture in xwd's format (from xwd, or ffmpeg for a video's) or window:ID, the
// window as it is now; REGION is WxH+X+Y.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <X11/XWDFile.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "pixels: %s\n", what.c_str());
    std::exit(2);
}

struct Rgb {
    int r = 0, g = 0, b = 0;
};

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;

    const Rgb& at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};

struct Area {
    int width = 0, height = 0, x = 0, y = 0;
};

// A channel's value scaled to 0..255, whatever its mask.
int channel(std::uint32_t pixel, std::uint32_t mask) {
    if (mask == 0)
        return 0;
    const int shift = __builtin_ctz(mask);
    const std::uint32_t full = mask >> shift;
    return static_cast<int>(((pixel & mask) >> shift) * 255 / full);
}

// Rows of 24- or 32-bit pixels in the given byte order, as xwd, ffmpeg's xwd pictures and the
// X server hand them over.
Picture decode(const unsigned char* data, int width, int height, int bytesPerLine,
               int bytesPerPixel, bool msbFirst, const std::uint32_t (&masks)[3]) {
    Picture picture{width, height, {}};
    picture.pixels.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = data + static_cast<std::ptrdiff_t>(y) * bytesPerLine;
        for (int x = 0; x < width; ++x) {
            const unsigned char* p = row + bytesPerPixel * x;
            std::uint32_t pixel = 0;
            for (int i = 0; i < bytesPerPixel; ++i)
                pixel |= std::uint32_t{p[i]} << 8 * (msbFirst ? bytesPerPixel - 1 - i : i);
            picture.pixels.push_back(
                {channel(pixel, masks[0]), channel(pixel, masks[1]), channel(pixel, masks[2])});
        }
    }
    return picture;
}

Picture fromWindow(const std::string& id) {
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        fail("cannot open the display");
    const Window window = std::strtoul(id.c_str(), nullptr, 0);
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(display, window, &attributes))
        fail("no window " + id);
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (!image || image->bits_per_pixel != 32)
        fail("cannot read window " + id + " as 32-bit pixels");
    const std::uint32_t masks[3] = {static_cast<std::uint32_t>(image->red_mask),
                                    static_cast<std::uint32_t>(image->green_mask),
                                    static_cast<std::uint32_t>(image->blue_mask)};
    Picture picture =
        decode(reinterpret_cast<unsigned char*>(image->data), image->width, image->height,
               image->bytes_per_line, 4, image->byte_order == MSBFirst, masks);
    XDestroyImage(image);
    XCloseDisplay(display);
    return picture;
}

std::uint32_t bigEndian(const unsigned char* p) {
    return std::uint32_t{p[0]} << 24 | p[1] << 16 | p[2] << 8 | p[3];
}

// xwd's header is written most significant byte first; the pixels follow its colour map.
Picture fromXwd(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)),
                                           std::istreambuf_iterator<char>());
    if (bytes.size() < sz_XWDheader)
        fail(path + " is not a picture taken by xwd");
    const auto field = [&bytes](int index) { return bigEndian(bytes.data() + 4 * index); };
    const std::uint32_t headerSize = field(0), width = field(4), height = field(5),
                        byteOrder = field(7), bitsPerPixel = field(11), bytesPerLine = field(12),
                        colours = field(19);
    const std::uint32_t masks[3] = {field(14), field(15), field(16)};
    const std::uint64_t start = headerSize + std::uint64_t{colours} * sz_XWDColor;
    const std::uint32_t bytesPerPixel = bitsPerPixel / 8;
    if ((bitsPerPixel != 24 && bitsPerPixel != 32) ||
        start + std::uint64_t{bytesPerLine} * height > bytes.size() ||
        bytesPerLine < bytesPerPixel * width)
        fail(path + " is not a whole 24- or 32-bit xwd picture");
    return decode(bytes.data() + start, static_cast<int>(width), static_cast<int>(height),
                  static_cast<int>(bytesPerLine), static_cast<int>(bytesPerPixel),
                  byteOrder == MSBFirst, masks);
}

Picture load(const std::string& source) {
    const std::string window = "window:";
    if (source.compare(0, window.size(), window) == 0)
        return fromWindow(source.substr(window.size()));
    return fromXwd(source);
}

void requireInside(const Area& area, const Picture& picture, const std::string& text) {
    if (area.width < 0 || area.height < 0 || area.x < 0 || area.y < 0 ||
        area.x + area.width > picture.width || area.y + area.height > picture.height)
        fail("the region " + text + " is not inside the picture");
}

Area areaOf(const std::string& text, const Picture& picture) {
    Area area;
    if (std::sscanf(text.c_str(), "%dx%d+%d+%d", &area.width, &area.height, &area.x, &area.y) != 4)
        fail("not a region WxH+X+Y: " + text);
    requireInside(area, picture, text);
    return area;
}

template <typename Test> long count(const Picture& picture, const Area& area, Test test) {
    long counted = 0;
    for (int y = area.y; y < area.y + area.height; ++y)
        for (int x = area.x; x < area.x + area.width; ++x)
            counted += test(picture.at(x, y), x, y);
    return counted;
}

Rgb rgbOf(const std::string& text) {
    Rgb rgb;
    if (std::sscanf(text.c_str(), "%d,%d,%d", &rgb.r, &rgb.g, &rgb.b) != 3)
        fail("not a colour R,G,B: " + text);
    return rgb;
}

int percentOf(const std::string& text) {
    const int percent = std::atoi(text.c_str());
    if (percent < 0 || percent > 100)
        fail("not a percentage: " + text);
    return percent * 255 / 100;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    long counted = 0;
    if (args.size() == 4 && args[0] == "dominant" && (args[1] == "r" || args[1] == "g")) {
        const Picture picture = load(args[2]);
        const bool red = args[1] == "r";
        counted = count(picture, areaOf(args[3], picture), [red](const Rgb& p, int, int) {
            const int own = red ? p.r : p.g, other = red ? p.g : p.r;
            return own - other > 64 && own - p.b > 64;
        });
    } else if (args.size() == 4 && args[0] == "bright") {
        const int least = percentOf(args[1]);
        const Picture picture = load(args[2]);
        counted = count(picture, areaOf(args[3], picture), [least](const Rgb& p, int, int) {
            return std::max({p.r, p.g, p.b}) > least;
        });
    } else if (args.size() == 5 && args[0] == "between") {
        const Rgb low = rgbOf(args[1]), high = rgbOf(args[2]);
        const Picture picture = load(args[3]);
        counted = count(picture, areaOf(args[4], picture), [&low, &high](const Rgb& p, int, int) {
            return p.r >= low.r && p.r <= high.r && p.g >= low.g && p.g <= high.g && p.b >= low.b &&
                   p.b <= high.b;
        });
    } else if ((args.size() == 5 || args.size() == 6) && args[0] == "differ") {
        const int most = percentOf(args[1]);
        const Picture a = load(args[2]), b = load(args[3]);
        const Area area = areaOf(args[4], a);
        Area other = area;
        if (args.size() == 6 && std::sscanf(args[5].c_str(), "+%d+%d", &other.x, &other.y) != 2)
            fail("not +X+Y: " + args[5]);
        requireInside(other, b, args[4] + (args.size() == 6 ? " at " + args[5] : ""));
        const int dx = other.x - area.x, dy = other.y - area.y;
        counted = count(a, area, [&b, most, dx, dy](const Rgb& p, int x, int y) {
            const Rgb& q = b.at(x + dx, y + dy);
            return std::abs(p.r - q.r) > most || std::abs(p.g - q.g) > most ||
                   std::abs(p.b - q.b) > most;
        });
    } else {
        fail("usage: pixels dominant r|g SOURCE REGION | bright PERCENT SOURCE REGION | "
             "between R,G,B R,G,B SOURCE REGION | differ PERCENT SOURCE OTHER REGION [+X+Y]");
    }
    std::printf("%ld\n", counted);
    return 0;
}
