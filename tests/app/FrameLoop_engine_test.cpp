#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include <Ogre.h>
#include <X11/Xlib.h>

#include "app/FixedFrameUpdater.h"
#include "app/FocusWatcher.h"
#include "app/FrameLoop.h"
#include "input/Bindings.h"
#include "match/MatchDriver.h"
#include "support/EngineEnvironment.h"

namespace {

// Ticks counted, the screen said to change on the ticks `changes` picks; after `lastTick`
// ticks, or once `enough` says so, the program is to end.
class ScriptedDriver : public MatchDriver {
public:
    bool step(const StepInput&) override {
        ++ticks;
        changedNow = changes(ticks);
        unshownChange = unshownChange || changedNow;
        return ticks < lastTick && !enough();
    }
    bool pictureChanged() const override { return changedNow; }

    std::function<bool(int)> changes;
    std::function<bool()> enough = [] { return false; };
    int lastTick = 0;
    int ticks = 0;
    bool changedNow = false;
    bool unshownChange = false;
};

// Every picture the engine draws, and how many were drawn with no change of the screen since
// the one before.
class PictureCounter : public Ogre::FrameListener {
public:
    explicit PictureCounter(ScriptedDriver& driver) : driver(driver) {}
    bool frameRenderingQueued(const Ogre::FrameEvent&) override {
        if (pictures > 0 && !driver.unshownChange)
            ++unchanged;
        driver.unshownChange = false;
        ++pictures;
        return true;
    }
    ScriptedDriver& driver;
    int pictures = 0;
    int unchanged = 0;
};

// The program's loop on the test engine's window, with the real updater and focus watcher.
class FrameLoopTest : public ::testing::Test {
protected:
    FrameLoopTest() : display(XOpenDisplay(nullptr)), counter(driver) {
        Application& app = EngineEnvironment::app();
        app.getWindow()->getCustomAttribute("WINDOW", &window);
        updater =
            std::make_unique<FixedFrameUpdater>(app.getWindow(), driver, Bindings::defaults());
        focus = std::make_unique<FocusWatcher>(display, window, updater->inputSystem());
        for (Ogre::FrameListener* listener :
             std::initializer_list<Ogre::FrameListener*>{updater.get(), focus.get(), &counter})
            app.getRoot()->addFrameListener(listener);
    }
    ~FrameLoopTest() override {
        for (Ogre::FrameListener* listener :
             std::initializer_list<Ogre::FrameListener*>{updater.get(), focus.get(), &counter})
            EngineEnvironment::app().getRoot()->removeFrameListener(listener);
        focus.reset();
        updater.reset();
        XCloseDisplay(display);
    }

    void run(std::function<void()> afterFirstPicture = {}) {
        FrameLoop::Setup setup;
        setup.afterFirstPicture = std::move(afterFirstPicture);
        FrameLoop(*EngineEnvironment::app().getRoot(), *updater, *focus, std::move(setup)).run();
    }

    _XDisplay* display;
    unsigned long window = 0;
    ScriptedDriver driver;
    PictureCounter counter;
    std::unique_ptr<FixedFrameUpdater> updater;
    std::unique_ptr<FocusWatcher> focus;
};

} // namespace

// The first picture at once, then one after each pass of ticks that changed the screen and none
// after a tick that did not (a loaded machine may run two ticks in one pass: one picture).
TEST_F(FrameLoopTest, DrawsOnlyAfterTicksThatChangedTheScreen) {
    driver.changes = [](int tick) { return tick % 4 == 0; };
    driver.lastTick = 60;
    run();
    EXPECT_EQ(counter.unchanged, 0);
    EXPECT_GE(counter.pictures, 2);
    EXPECT_LE(counter.pictures, 1 + 60 / 4);
}

// Nothing changes on any tick, but the window is exposed once: it is drawn again.
TEST_F(FrameLoopTest, DrawsAnExposedWindowAgain) {
    driver.changes = [](int) { return false; };
    driver.lastTick = 600;
    driver.enough = [this] {
        if (driver.ticks == 10) {
            XClearArea(display, window, 0, 0, 0, 0, True);
            XFlush(display);
        }
        return counter.pictures >= 2;
    };
    run();
    EXPECT_EQ(counter.pictures, 2);
    EXPECT_LT(driver.ticks, 600) << "the exposed window was never drawn";
}

// What waits for the first picture (the sound, the controllers) runs once, after that picture
// and before the first tick.
TEST_F(FrameLoopTest, RunsWhatWaitsForTheFirstPictureBeforeTheFirstTick) {
    driver.changes = [](int) { return true; };
    driver.lastTick = 5;
    std::vector<std::pair<int, int>> calls;
    run([&] { calls.emplace_back(counter.pictures, driver.ticks); });
    EXPECT_EQ(calls, (std::vector<std::pair<int, int>>{{1, 0}}));
}
