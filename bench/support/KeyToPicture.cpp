#include "support/KeyToPicture.h"

#include <poll.h>
#include <stdexcept>
#include <thread>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>

namespace {

// The left fighter and the reach of its punch, in the 800 by 600 window: clear of the top lines
// (the connection's), of the health figures and of the right fighter.
const int regionLeft = 40, regionTop = 150, regionWidth = 340, regionHeight = 300;

const auto step = std::chrono::nanoseconds(1000000000 / 60);

} // namespace

KeyToPicture::KeyToPicture(unsigned long window) : display(XOpenDisplay(nullptr)), window(window) {
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!display)
        throw std::runtime_error("cannot open the display");
    if (!XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor) ||
        !XDamageQueryExtension(display, &damageEventBase, &errorBase))
        throw std::runtime_error("the display lacks the XTEST or DAMAGE extension");
    damage = XDamageCreate(display, window, XDamageReportNonEmpty);
    XRaiseWindow(display, window);
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    XSync(display, False);
}

KeyToPicture::~KeyToPicture() {
    XDamageDestroy(display, damage);
    XCloseDisplay(display);
}

bool KeyToPicture::learnStanding(double seconds) {
    const Clock::time_point end =
        Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    while (nextPicture(end))
        standing.insert(fighterPixels());
    return !standing.empty();
}

std::optional<KeyToPicture::Press> KeyToPicture::press(unsigned long keysym,
                                                       std::mt19937& random) {
    std::optional<Clock::time_point> stood;
    const Clock::time_point giveUp = Clock::now() + std::chrono::seconds(5);
    while (!stood || standing.count(fighterPixels()) == 0) {
        stood = nextPicture(giveUp);
        if (!stood)
            return std::nullopt;
    }
    // Uniform over a step: the pictures come once a step, so the press falls at any moment of
    // the step with the same chance.
    const auto phase = std::chrono::nanoseconds(
        std::uniform_int_distribution<long long>(0, step.count() - 1)(random));
    std::this_thread::sleep_until(*stood + std::chrono::milliseconds(150) + phase);
    dropPending();
    Press press;
    press.pressed = Clock::now();
    key(keysym, true);
    const Clock::time_point deadline = press.pressed + std::chrono::seconds(1);
    std::optional<Clock::time_point> arrived;
    while ((arrived = nextPicture(deadline)) && standing.count(fighterPixels()) > 0) {
    }
    key(keysym, false);
    if (!arrived)
        return std::nullopt;
    press.pictured = *arrived;
    return press;
}

// The arrival is the moment the event reached this connection: taken when the wait for it
// ends, before anything else is read.
std::optional<KeyToPicture::Clock::time_point> KeyToPicture::nextPicture(Clock::time_point deadline) {
    Clock::time_point arrival = Clock::now();
    for (;;) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type != damageEventBase + XDamageNotify)
                continue;
            XDamageSubtract(display, damage, None, None);
            return arrival;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return std::nullopt;
        pollfd connection{ConnectionNumber(display), POLLIN, 0};
        poll(&connection, 1, static_cast<int>(left.count()) + 1);
        arrival = Clock::now();
    }
}

std::uint64_t KeyToPicture::fighterPixels() const {
    XImage* image = XGetImage(display, window, regionLeft, regionTop, regionWidth, regionHeight,
                              AllPlanes, ZPixmap);
    if (!image)
        return 0;
    // FNV-1a over the rows' pixels.
    std::uint64_t hash = 14695981039346656037ull;
    for (int y = 0; y < image->height; ++y) {
        const auto* row = reinterpret_cast<const unsigned char*>(image->data) + y * image->bytes_per_line;
        for (int x = 0; x < image->width * image->bits_per_pixel / 8; ++x)
            hash = (hash ^ row[x]) * 1099511628211ull;
    }
    XDestroyImage(image);
    return hash;
}

// The pictures that came while nothing was pressed. The damage is cleared after their events
// are dropped: the server tells of damage only when it starts from none, so a picture landing
// between a clearing and the drop would have its event dropped and leave no later one.
void KeyToPicture::dropPending() {
    XSync(display, False);
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
    }
    XDamageSubtract(display, damage, None, None);
    XFlush(display);
}

void KeyToPicture::key(unsigned long keysym, bool down) {
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, keysym), down ? True : False, CurrentTime);
    XFlush(display);
}
