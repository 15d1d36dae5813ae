#pragma once

#include <bitset>
#include <string>

#include <OISKeyboard.h>

// A keyboard whose keys the test holds and lets go by hand. It is an OIS::Keyboard, so code
// under test queries it exactly as it queries the real device.
class FakeKeyboard : public OIS::Keyboard {
public:
    FakeKeyboard() : OIS::Keyboard("FakeKeyboard", false, 0, nullptr) {}

    void press(OIS::KeyCode key) { down.set(key); }
    void release(OIS::KeyCode key) { down.reset(key); }
    void releaseAll() { down.reset(); }

    bool isKeyDown(OIS::KeyCode key) const override { return down.test(key); }
    const std::string& getAsString(OIS::KeyCode) override { return name; }
    void copyKeyStates(char keys[256]) const override {
        for (std::size_t key = 0; key < down.size(); ++key)
            keys[key] = down.test(key) ? 1 : 0;
    }
    void setBuffered(bool) override {}
    void capture() override {}
    OIS::Interface* queryInterface(OIS::Interface::IType) override { return nullptr; }
    void _initialize() override {}

private:
    std::bitset<256> down;
    std::string name = "key";
};
