#include "input/KeyLatch.h"

KeyLatch::KeyLatch(OIS::Keyboard* device)
    : OIS::Keyboard(device->vendor(), false, 0, nullptr), device(device) {
    device->setEventCallback(this);
}

void KeyLatch::capture() {
    pressedSinceCapture.reset();
    device->capture();
}

bool KeyLatch::isKeyDown(OIS::KeyCode key) const {
    return (device->isKeyDown(key) && !stale.test(key)) || heldUnheard.test(key) ||
           pressedSinceCapture.test(key);
}

void KeyLatch::copyKeyStates(char keys[256]) const {
    for (std::size_t key = 0; key < pressedSinceCapture.size(); ++key)
        keys[key] = isKeyDown(static_cast<OIS::KeyCode>(key)) ? 1 : 0;
}

const std::string& KeyLatch::getAsString(OIS::KeyCode key) { return device->getAsString(key); }

void KeyLatch::releaseAll() {
    stale.set();
    heldUnheard.reset();
}

void KeyLatch::holdOnly(const std::bitset<256>& held) {
    stale = ~held;
    heldUnheard = held;
}

bool KeyLatch::keyPressed(const OIS::KeyEvent& event) {
    pressedSinceCapture.set(event.key);
    stale.reset(event.key);
    return true;
}

bool KeyLatch::keyReleased(const OIS::KeyEvent& event) {
    stale.reset(event.key);
    heldUnheard.reset(event.key);
    return true;
}
