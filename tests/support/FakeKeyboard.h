#pragma once

#include <bitset>
#include <string>
#include <vector>

#include <OISKeyboard.h>

// A keyboard whose keys the test holds and lets go by hand, at once or as events delivered at
// the next capture. It is an OIS::Keyboard, so code under test queries it exactly as it
// queries the real device.
class FakeKeyboard : public OIS::Keyboard {
public:
    FakeKeyboard() : OIS::Keyboard("FakeKeyboard", false, 0, nullptr) {}

    void press(OIS::KeyCode key) { down.set(key); }
    void release(OIS::KeyCode key) { down.reset(key); }
    void releaseAll() { down.reset(); }

    // A key that goes down (or up) before the next capture, which tells the listener as a
    // buffered device does; a press may type a character.
    void queuePress(OIS::KeyCode key, unsigned int text = 0) { queued.push_back({key, true, text}); }
    void queueRelease(OIS::KeyCode key) { queued.push_back({key, false, 0}); }

    bool isKeyDown(OIS::KeyCode key) const override { return down.test(key); }
    const std::string& getAsString(OIS::KeyCode) override { return name; }
    void copyKeyStates(char keys[256]) const override {
        for (std::size_t key = 0; key < down.size(); ++key)
            keys[key] = down.test(key) ? 1 : 0;
    }
    void setBuffered(bool) override {}
    void capture() override {
        for (const auto& [key, pressed, text] : queued) {
            down.set(key, pressed);
            const OIS::KeyEvent event(this, key, text);
            if (mListener)
                pressed ? mListener->keyPressed(event) : mListener->keyReleased(event);
        }
        queued.clear();
    }
    OIS::Interface* queryInterface(OIS::Interface::IType) override { return nullptr; }
    void _initialize() override {}

private:
    std::bitset<256> down;
    struct Event {
        OIS::KeyCode key;
        bool pressed;
        unsigned int text;
    };
    std::vector<Event> queued;
    std::string name = "key";
};
