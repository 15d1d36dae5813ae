#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "input/KeyLatch.h"
#include "support/FakeKeyboard.h"

namespace {

// What happens to the key before each capture: p press, r release, in order; the expected
// key state seen in that step is 'D' down or 'u' up.
struct Case {
    const char* name;
    std::vector<std::string> eventsBeforeStep;
    std::string expected;
};

TEST(KeyLatch, AKeyThatWentDownSinceTheLastCaptureIsDownInTheNextStepOnce) {
    const Case cases[] = {
        {"a tap between two captures", {"pr", "", ""}, "Duu"},
        {"two taps in one step count once", {"prpr", ""}, "Du"},
        {"a held key stays down until released", {"p", "", "", "r", ""}, "DDDuu"},
        {"released and pressed again in one step", {"p", "rp", "r"}, "DDu"},
        {"taps in consecutive steps", {"pr", "pr", "pr", ""}, "DDDu"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeKeyboard device;
        KeyLatch latch(&device);
        std::string seen;
        for (const std::string& events : c.eventsBeforeStep) {
            for (char event : events)
                event == 'p' ? device.queuePress(OIS::KC_F3) : device.queueRelease(OIS::KC_F3);
            latch.capture();
            seen += latch.isKeyDown(OIS::KC_F3) ? 'D' : 'u';
        }
        EXPECT_EQ(seen, c.expected);
        EXPECT_FALSE(latch.isKeyDown(OIS::KC_F1));
    }
}

// D goes down here (or not), the focus leaves, and it comes back with the keyboard holding D
// (or not): while away no key is down; after the return D is down exactly when held, until a
// release is heard here; a new press here always counts.
TEST(KeyLatch, AfterTheFocusReturnsExactlyTheKeysReallyHeldAreDown) {
    const struct {
        const char* name;
        bool pressedHere;
        bool heldAtReturn;
    } cases[] = {
        {"held across the switch", true, true},
        {"released in the other window", true, false},
        {"pressed in the other window and held", false, true},
        {"never pressed", false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeKeyboard device;
        KeyLatch latch(&device);
        if (c.pressedHere)
            device.queuePress(OIS::KC_D);
        latch.capture();
        latch.releaseAll();
        latch.capture();
        std::string seen(1, latch.isKeyDown(OIS::KC_D) ? 'D' : 'u');
        std::bitset<256> held;
        held.set(OIS::KC_D, c.heldAtReturn);
        latch.holdOnly(held);
        latch.capture();
        seen += latch.isKeyDown(OIS::KC_D) ? 'D' : 'u';
        device.queueRelease(OIS::KC_D);
        latch.capture();
        seen += latch.isKeyDown(OIS::KC_D) ? 'D' : 'u';
        device.queuePress(OIS::KC_D);
        latch.capture();
        seen += latch.isKeyDown(OIS::KC_D) ? 'D' : 'u';
        EXPECT_EQ(seen, c.heldAtReturn ? "uDuD" : "uuuD");
    }
}

} // namespace

// The text of the presses heard in a capture, as UTF-8, until the next capture; keys that type
// nothing or a control character add nothing.
TEST(KeyLatch, KeepsTheTextTypedSinceTheStepBefore) {
    FakeKeyboard device;
    KeyLatch latch(&device);
    device.queuePress(OIS::KC_A, 'a');
    device.queuePress(OIS::KC_LSHIFT);
    device.queuePress(OIS::KC_E, 0xe9);
    device.queuePress(OIS::KC_BACK, 8);
    device.queuePress(OIS::KC_1, 0x1f3ae);
    latch.capture();
    EXPECT_EQ(latch.typed(), "a\xc3\xa9\xf0\x9f\x8e\xae");
    latch.capture();
    EXPECT_EQ(latch.typed(), "");
}
