#include "render/TimingOverlay.h"

#include <algorithm>
#include <cstdio>

#include <Overlay/OgreFont.h>
#include <Overlay/OgreFontManager.h>
#include <Overlay/OgreOverlay.h>
#include <Overlay/OgreOverlayContainer.h>
#include <Overlay/OgreOverlayManager.h>
#include <Overlay/OgreTextAreaOverlayElement.h>

#include "render/SystemFont.h"
#include "render/flatMaterial.h"

namespace {

const char* const fontName = "TimingFont";
const char* const overlayName = "TimingOverlay";
// Above the HUD, the connection line and the lab's lines.
const unsigned short zOrder = 210;
// In pixels, from the window's right edge; below the top lines (the connection, the lab's
// status, a recording's failure). The band is at least bandWidth wide, wider for a longer line.
const float bandRight = 12, bandTop = 70, bandWidth = 262;
const float lineHeight = 16, padding = 6;

std::string formatted(const char* format, double a, double b = 0) {
    char line[64];
    std::snprintf(line, sizeof line, format, a, b);
    return line;
}

} // namespace

TimingOverlay::TimingOverlay() {
    SystemFont::require(fontName, "DejaVuSansMono-Bold.ttf", 13);
    Ogre::OverlayManager& overlays = Ogre::OverlayManager::getSingleton();
    band = static_cast<Ogre::OverlayContainer*>(
        overlays.createOverlayElement("Panel", "TimingBand"));
    band->setMetricsMode(Ogre::GMM_PIXELS);
    band->setHorizontalAlignment(Ogre::GHA_RIGHT);
    band->setPosition(-bandWidth - bandRight, bandTop);
    band->setMaterial(flatMaterial("TimingBandColour", Ogre::ColourValue(0.05f, 0.05f, 0.08f, 0.7f)));
    caption = static_cast<Ogre::TextAreaOverlayElement*>(
        overlays.createOverlayElement("TextArea", "TimingText"));
    caption->setMetricsMode(Ogre::GMM_PIXELS);
    caption->setPosition(padding, padding);
    caption->setFontName(fontName, fontName);
    caption->setCharHeight(lineHeight);
    caption->setColour(Ogre::ColourValue(1.0f, 0.95f, 0.6f));
    band->addChild(caption);
    overlay = overlays.create(overlayName);
    overlay->setZOrder(zOrder);
    overlay->add2D(band);
}

TimingOverlay::~TimingOverlay() {
    Ogre::OverlayManager& overlays = Ogre::OverlayManager::getSingleton();
    overlays.destroyOverlayElement(caption);
    overlays.destroyOverlayElement(band);
    overlays.destroy(overlay);
}

void TimingOverlay::toggle() { setVisible(!on); }

void TimingOverlay::setVisible(bool visible) {
    on = visible;
    if (on)
        overlay->show();
    else
        overlay->hide();
}

void TimingOverlay::show(const FrameFigures& frames,
                         const std::optional<ConnectionFigures>& connection) {
    const std::string text = lines(frames, connection);
    if (text == shown)
        return;
    shown = text;
    caption->setCaption(shown);
    // The font is monospaced: the widest line is its length in glyphs, each its aspect ratio
    // times the line's height wide. The band grows to the left to hold it.
    std::size_t widest = 0;
    std::size_t lineCount = 0;
    for (std::size_t start = 0; start <= shown.size(); ++lineCount) {
        const std::size_t end = std::min(shown.find('\n', start), shown.size());
        widest = std::max(widest, end - start);
        start = end + 1;
    }
    const Ogre::FontPtr font = Ogre::FontManager::getSingleton().getByName(fontName, fontName);
    const float glyphWidth = font->getGlyphAspectRatio('0') * lineHeight;
    const float width = std::max(bandWidth, static_cast<float>(widest) * glyphWidth + 2 * padding);
    band->setPosition(-width - bandRight, bandTop);
    band->setDimensions(width, static_cast<float>(lineCount) * lineHeight + 2 * padding);
}

// Figures of the last second: a picture's time is its drawing and its swap.
std::string TimingOverlay::lines(const FrameFigures& frames,
                                 const std::optional<ConnectionFigures>& connection) {
    std::string text = formatted("%.0f pictures/s\n", frames.picturesPerSecond) +
                       formatted("step    %5.2f ms  worst %5.2f", frames.stepMeanMs,
                                 frames.stepWorstMs) +
                       "\n" +
                       formatted("picture %5.2f ms  worst %5.2f", frames.pictureMeanMs,
                                 frames.pictureWorstMs);
    if (!connection)
        return text;
    text += "\nround trip " + std::to_string(connection->roundTripMs) + " ms";
    if (!connection->player)
        return text;
    return text + "  delay " + std::to_string(connection->inputDelay) + "\nrollbacks " +
           std::to_string(connection->rollbacksPerSecond) + "/s  deepest " +
           std::to_string(connection->deepestRollback) + "\npackets lost " +
           std::to_string(connection->packetsLost) +
           formatted(" (%.1f%%)", connection->packetLossPercent) + "  watching " +
           std::to_string(connection->spectators);
}
