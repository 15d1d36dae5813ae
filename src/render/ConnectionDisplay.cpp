#include "render/ConnectionDisplay.h"

#include <cstdint>

#include <Overlay/OgreFont.h>
#include <Overlay/OgreFontManager.h>
#include <Overlay/OgreOverlay.h>
#include <Overlay/OgreOverlayContainer.h>
#include <Overlay/OgreOverlayManager.h>
#include <Overlay/OgreTextAreaOverlayElement.h>

#include "render/SystemFont.h"
#include "render/wrapText.h"

namespace {

const char* const fontName = "ConnectionFont";
const Ogre::Real charHeight = 18;
// Of the window's width.
const Ogre::Real panelLeft = 0.02f, panelWidth = 0.96f;
// A line longer than this many lines (a file name of thousands of characters) is cut short;
// the log has it whole.
const std::size_t maxLines = 4;

} // namespace

// Named after the instance: the relay test runs both sides of a match in one engine.
ConnectionDisplay::ConnectionDisplay(int row)
    : suffix(std::to_string(reinterpret_cast<std::uintptr_t>(this))) {
    SystemFont::require(fontName, "DejaVuSansMono.ttf", 16);
    Ogre::OverlayManager& overlays = Ogre::OverlayManager::getSingleton();
    auto* panel = static_cast<Ogre::OverlayContainer*>(
        overlays.createOverlayElement("Panel", "ConnectionPanel" + suffix));
    panel->setMetricsMode(Ogre::GMM_RELATIVE);
    panel->setPosition(panelLeft, 0.01f + 0.05f * static_cast<float>(row));
    panel->setDimensions(panelWidth, 0.05f);
    text = static_cast<Ogre::TextAreaOverlayElement*>(
        overlays.createOverlayElement("TextArea", "ConnectionText" + suffix));
    text->setMetricsMode(Ogre::GMM_PIXELS);
    text->setCharHeight(charHeight);
    text->setFontName(fontName, fontName);
    overlay = overlays.create("ConnectionOverlay" + suffix);
    overlay->add2D(panel);
    panel->addChild(text);
    overlay->show();
}

ConnectionDisplay::~ConnectionDisplay() {
    Ogre::OverlayManager& overlays = Ogre::OverlayManager::getSingleton();
    overlays.destroyOverlayElement("ConnectionText" + suffix);
    overlays.destroyOverlayElement("ConnectionPanel" + suffix);
    overlays.destroy(overlay);
}

// Broken into lines that fit the window's width as it is now: the font is monospaced, and a
// character drawn charHeight high is its aspect ratio times that wide.
void ConnectionDisplay::show(const std::string& line) {
    if (line == shown)
        return;
    shown = line;
    const Ogre::FontPtr font = Ogre::FontManager::getSingleton().getByName(fontName, fontName);
    // Known once a frame was drawn; before it, the window's width at start.
    const int viewportWidth = Ogre::OverlayManager::getSingleton().getViewportWidth();
    const Ogre::Real width =
        panelWidth * static_cast<Ogre::Real>(viewportWidth > 0 ? viewportWidth : 800);
    const Ogre::Real glyphWidth = font->getGlyphAspectRatio('M') * charHeight;
    text->setCaption(wrapText(shown, static_cast<std::size_t>(width / glyphWidth), maxLines));
}
