#include "render/ConnectionDisplay.h"

#include <OgreResourceGroupManager.h>
#include <Overlay/OgreFont.h>
#include <Overlay/OgreFontManager.h>
#include <Overlay/OgreOverlay.h>
#include <Overlay/OgreOverlayContainer.h>
#include <Overlay/OgreOverlayManager.h>
#include <Overlay/OgreTextAreaOverlayElement.h>

namespace {

const char* const fontGroup = "ConnectionFont";
const char* const fontName = "ConnectionFont";
const char* const fontDirectory = "/usr/share/fonts/truetype/dejavu";
const char* const overlayName = "ConnectionOverlay";
const char* const panelName = "ConnectionPanel";
const char* const textName = "ConnectionText";

void createFont() {
    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    if (groups.resourceGroupExists(fontGroup))
        return;
    groups.addResourceLocation(fontDirectory, "FileSystem", fontGroup);
    groups.initialiseResourceGroup(fontGroup);
    Ogre::FontPtr font = Ogre::FontManager::getSingleton().create(fontName, fontGroup);
    font->setType(Ogre::FT_TRUETYPE);
    font->setSource("DejaVuSansMono.ttf");
    font->setTrueTypeSize(16);
    font->setTrueTypeResolution(96);
    font->addCodePointRange({32, 126});
    font->load();
}

} // namespace

ConnectionDisplay::ConnectionDisplay(int row) : suffix(row ? std::to_string(row) : "") {
    createFont();
    Ogre::OverlayManager& overlays = Ogre::OverlayManager::getSingleton();
    auto* panel = static_cast<Ogre::OverlayContainer*>(
        overlays.createOverlayElement("Panel", panelName + suffix));
    panel->setMetricsMode(Ogre::GMM_RELATIVE);
    panel->setPosition(0.02f, 0.01f + 0.05f * static_cast<float>(row));
    panel->setDimensions(0.96f, 0.05f);
    text = static_cast<Ogre::TextAreaOverlayElement*>(
        overlays.createOverlayElement("TextArea", textName + suffix));
    text->setMetricsMode(Ogre::GMM_PIXELS);
    text->setCharHeight(18);
    text->setFontName(fontName, fontGroup);
    overlay = overlays.create(overlayName + suffix);
    overlay->add2D(panel);
    panel->addChild(text);
    overlay->show();
}

ConnectionDisplay::~ConnectionDisplay() {
    Ogre::OverlayManager& overlays = Ogre::OverlayManager::getSingleton();
    overlays.destroyOverlayElement(textName + suffix);
    overlays.destroyOverlayElement(panelName + suffix);
    overlays.destroy(overlay);
}

void ConnectionDisplay::show(const std::string& line) {
    if (line == shown)
        return;
    shown = line;
    text->setCaption(shown);
}
