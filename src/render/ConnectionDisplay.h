#pragma once

#include <string>

namespace Ogre {
class Overlay;
class TextAreaOverlayElement;
} // namespace Ogre

// One line of text at the top of the screen about the online connection (round trip, steps
// run again, steps waited), on an overlay of its own above the HUD; the lines below it (row 1
// on) carry other news, such as a recording that failed. The HUD's font has digits and arrows
// only, so the line is set in a system font. Owned by the network play driver, or by whoever
// has the news.
class ConnectionDisplay {
public:
    explicit ConnectionDisplay(int row = 0);
    ~ConnectionDisplay();

    ConnectionDisplay(const ConnectionDisplay&) = delete;
    ConnectionDisplay& operator=(const ConnectionDisplay&) = delete;

    // Cheap when the line is unchanged: the engine lays out a changed caption again. A line too
    // long for the window goes on in the lines under it.
    void show(const std::string& line);
    const std::string& line() const { return shown; }

private:
    const std::string suffix;
    std::string shown;
    Ogre::Overlay* overlay = nullptr;
    Ogre::TextAreaOverlayElement* text = nullptr;
};
