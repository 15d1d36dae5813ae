#include <chrono>
#include <thread>

#include <gtest/gtest.h>
#include <Ogre.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include "app/PointerWatcher.h"
#include "support/EngineEnvironment.h"

namespace {

// The real pointer on the test's display, moved and clicked through the X server's test
// extension, over the engine's window.
class PointerWatcherTest : public ::testing::Test {
protected:
    PointerWatcherTest() {
        EngineEnvironment::app().getWindow()->getCustomAttribute("WINDOW", &window);
        Window child = 0;
        XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &windowLeft,
                              &windowTop, &child);
    }
    ~PointerWatcherTest() override { XCloseDisplay(display); }

    void moveTo(int x, int y) {
        XTestFakeMotionEvent(display, -1, windowLeft + x, windowTop + y, CurrentTime);
        XSync(display, False);
    }
    void click() {
        XTestFakeButtonEvent(display, Button1, True, CurrentTime);
        XTestFakeButtonEvent(display, Button1, False, CurrentTime);
        XSync(display, False);
    }

    // Polls until the pointer is reported as expected, for at most a second.
    template <typename Expected> MenuPointer pollUntil(PointerWatcher& watcher, Expected expected) {
        MenuPointer pointer = watcher.poll();
        for (int i = 0; i < 100 && !expected(pointer); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            pointer = watcher.poll();
        }
        return pointer;
    }

    Display* display = XOpenDisplay(nullptr);
    unsigned long window = 0;
    int windowLeft = 0;
    int windowTop = 0;
};

} // namespace

// Over the window the pointer is where it is; a click between two steps is down in the first
// of them only; off the window it is outside.
TEST_F(PointerWatcherTest, FollowsThePointerAndCatchesAClickBetweenSteps) {
    ASSERT_NE(display, nullptr);
    moveTo(700, 500);
    Display* own = XOpenDisplay(nullptr);
    {
        PointerWatcher watcher(own, window);
        moveTo(100, 150);
        const MenuPointer pointer =
            pollUntil(watcher, [](const MenuPointer& p) { return p.inside && p.y == 150; });
        EXPECT_TRUE(pointer.inside);
        EXPECT_EQ(pointer.x, 100);
        EXPECT_EQ(pointer.y, 150);
        EXPECT_FALSE(pointer.button);

        click();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_TRUE(watcher.poll().button);
        EXPECT_FALSE(watcher.poll().button);

        moveTo(900, 700);
        EXPECT_FALSE(pollUntil(watcher, [](const MenuPointer& p) { return !p.inside; }).inside);
    }
    XCloseDisplay(own);
}
