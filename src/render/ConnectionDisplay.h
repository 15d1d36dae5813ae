#pragma once

#include <string>

namespace Ogre {
class Overlay;
class TextAreaOverlayElement;
} // namespace Ogre

// One line of text at the top of the screen about the online connection (round trip, steps
// run again, steps waited), on an overlay of its own above the HUD. The HUD's font has digits
// and arrows only, so the line is set in a system font. Owned by the network play driver.
class ConnectionDisplay {
public:
    ConnectionDisplay();
    ~ConnectionDisplay();

    ConnectionDisplay(const ConnectionDisplay&) = delete;
    ConnectionDisplay& operator=(const ConnectionDisplay&) = delete;

    // Cheap when the line is unchanged: the engine lays out a changed caption again.
    void show(const std::string& line);

private:
    const std::string suffix;
    std::string shown;
    Ogre::Overlay* overlay = nullptr;
    Ogre::TextAreaOverlayElement* text = nullptr;
};
