#pragma once

#include <bitset>
#include <string>

#include <OISKeyboard.h>

// The keyboard as the logic step sees it. The device is captured once per step; a key pressed
// and released between two captures would never be seen down. Here a key is down in a step
// when it is held at the capture or went down at any moment since the previous capture, so a
// tap counts once: one step with the key down, then the release. Keys held across captures are
// the device's own key-down state, corrected by what the latch was told about the keyboard
// focus: the device hears nothing while another window has the focus, so a key released there
// would stay down for good. Owned by the input system; the device, which must be buffered so
// that every press reaches this latch as an event, is not owned and must not be captured by
// anyone else.
class KeyLatch : public OIS::Keyboard, public OIS::KeyListener {
public:
    explicit KeyLatch(OIS::Keyboard* device);

    // Forgets the presses of the previous step, then takes the device's new events and state.
    void capture() override;
    bool isKeyDown(OIS::KeyCode key) const override;
    void copyKeyStates(char keys[256]) const override;
    const std::string& getAsString(OIS::KeyCode key) override;

    // The window lost the keyboard focus: every key counts as released until it goes down here
    // again. A tap already heard still counts in the next step.
    void releaseAll();
    // The text the keys typed in the last capture, UTF-8: what was typed since the step
    // before, for a text field.
    const std::string& typed() const { return typedSinceCapture; }
    // The keys the keyboard really holds, when the focus comes back or the game starts:
    // exactly these count as down from now on, whatever the device last heard, until the
    // device hears them go up or down.
    void holdOnly(const std::bitset<256>& held);

    bool keyPressed(const OIS::KeyEvent& event) override;
    bool keyReleased(const OIS::KeyEvent& event) override;

    void setBuffered(bool) override {}
    OIS::Interface* queryInterface(OIS::Interface::IType) override { return nullptr; }
    void _initialize() override {}

private:
    OIS::Keyboard* device;
    std::bitset<256> pressedSinceCapture;
    std::string typedSinceCapture;
    // Down for the device, but let go while the device could not hear it.
    std::bitset<256> stale;
    // Held, though the device never heard them go down.
    std::bitset<256> heldUnheard;
};
