#include "input/KeyLatch.h"

namespace {

// A character of the key's text as UTF-8; nothing for control characters.
void appendUtf8(std::string& text, unsigned int code) {
    if (code < 0x20 || code == 0x7f || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff))
        return;
    if (code < 0x80) {
        text += static_cast<char>(code);
        return;
    }
    if (code < 0x800) {
        text += static_cast<char>(0xc0 | code >> 6);
    } else if (code < 0x10000) {
        text += static_cast<char>(0xe0 | code >> 12);
        text += static_cast<char>(0x80 | (code >> 6 & 0x3f));
    } else {
        text += static_cast<char>(0xf0 | code >> 18);
        text += static_cast<char>(0x80 | (code >> 12 & 0x3f));
        text += static_cast<char>(0x80 | (code >> 6 & 0x3f));
    }
    text += static_cast<char>(0x80 | (code & 0x3f));
}

} // namespace

KeyLatch::KeyLatch(OIS::Keyboard* device)
    : OIS::Keyboard(device->vendor(), false, 0, nullptr), device(device) {
    device->setEventCallback(this);
}

void KeyLatch::capture() {
    pressedSinceCapture.reset();
    typedSinceCapture.clear();
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
    appendUtf8(typedSinceCapture, event.text);
    return true;
}

bool KeyLatch::keyReleased(const OIS::KeyEvent& event) {
    stale.reset(event.key);
    heldUnheard.reset(event.key);
    return true;
}
