#include "render/TrainingDisplay.h"

#include <Overlay/OgreOverlay.h>
#include <Overlay/OgreOverlayContainer.h>
#include <Overlay/OgreOverlayManager.h>
#include <Overlay/OgreTextAreaOverlayElement.h>

#include "render/SystemFont.h"
#include "render/flatMaterial.h"

namespace {

const char* const fontName = "TrainingFont";
const char* const overlayName = "TrainingOverlay";
// Above the HUD and the connection line.
const unsigned short zOrder = 200;

// In pixels of the 800 by 600 window.
const float bandLeft = 16, bandWidth = 768;
const float statusTop = 6, statusHeight = 24;
// At the bottom; in a versus match above the health figures, as the round wins take the
// bottom's lines under them.
const float meterTop = 522, versusMeterTop = 404, meterHeight = 74;
const float cellWidth = 6, cellGap = 1, cellHeight = 12;
const float barLeft = (bandWidth - FrameMeter::barLength * cellWidth) / 2;
const float rowTops[2] = {20, 34};
const float summaryTops[2] = {2, 50};

// Free, startup, active, recovery, hit stun, block stun: as the field colours them.
const Ogre::ColourValue cellColours[] = {
    Ogre::ColourValue(0.42f, 0.42f, 0.45f), Ogre::ColourValue(0.15f, 0.80f, 0.30f),
    Ogre::ColourValue(0.95f, 0.20f, 0.20f), Ogre::ColourValue(0.25f, 0.50f, 1.00f),
    Ogre::ColourValue(1.00f, 0.85f, 0.15f), Ogre::ColourValue(0.75f, 0.40f, 1.00f),
};
const Ogre::ColourValue bandColour(0.05f, 0.05f, 0.08f, 0.7f);

} // namespace

TrainingDisplay::TrainingDisplay(bool versus) {
    SystemFont::require(fontName, "DejaVuSansMono-Bold.ttf", 14);
    for (int kind = 0; kind < cellKinds; ++kind)
        cellMaterials[static_cast<std::size_t>(kind)] = flatMaterial(
            "TrainingMeterCell" + std::to_string(kind), cellColours[kind]);
    const Ogre::MaterialPtr band = flatMaterial("TrainingBand", bandColour);

    Ogre::OverlayManager& overlays = Ogre::OverlayManager::getSingleton();
    const auto element = [&](const char* type, const std::string& name, float left, float top,
                             float width, float height) {
        Ogre::OverlayElement* created = overlays.createOverlayElement(type, name);
        elementNames.push_back(name);
        created->setMetricsMode(Ogre::GMM_PIXELS);
        created->setPosition(left, top);
        created->setDimensions(width, height);
        return created;
    };
    const auto text = [&](const std::string& name, float left, float top) {
        auto* created = static_cast<Ogre::TextAreaOverlayElement*>(
            element("TextArea", name, left, top, bandWidth - 2 * left, 16));
        created->setFontName(fontName, fontName);
        created->setCharHeight(16);
        created->setColour(Ogre::ColourValue::White);
        return created;
    };

    overlay = overlays.create(overlayName);
    overlay->setZOrder(zOrder);
    auto* statusBand = static_cast<Ogre::OverlayContainer*>(
        element("Panel", "TrainingStatusBand", bandLeft, statusTop, bandWidth, statusHeight));
    statusBand->setMaterial(band);
    statusText = text("TrainingStatusText", 8, 4);
    statusBand->addChild(statusText);
    overlay->add2D(statusBand);

    meterBand = static_cast<Ogre::OverlayContainer*>(
        element("Panel", "TrainingMeterBand", bandLeft, versus ? versusMeterTop : meterTop,
                bandWidth, meterHeight));
    meterBand->setMaterial(band);
    for (int fighter = 0; fighter < 2; ++fighter) {
        const std::string row = std::to_string(fighter + 1);
        summaryTexts[static_cast<std::size_t>(fighter)] =
            text("TrainingMeterSummary" + row, barLeft, summaryTops[fighter]);
        meterBand->addChild(summaryTexts[static_cast<std::size_t>(fighter)]);
        for (int i = 0; i < FrameMeter::barLength; ++i) {
            Ogre::OverlayElement* cell =
                element("Panel", "TrainingMeterCell" + row + "_" + std::to_string(i),
                        barLeft + i * cellWidth, rowTops[fighter], cellWidth - cellGap, cellHeight);
            cell->hide();
            meterBand->addChild(cell);
            cells[static_cast<std::size_t>(fighter)].push_back(cell);
        }
        shownKinds[static_cast<std::size_t>(fighter)].assign(FrameMeter::barLength, -1);
    }
    overlay->add2D(meterBand);
    meterBand->hide();
    overlay->show();
}

// Children before their bands, the overlay, empty by then, last.
TrainingDisplay::~TrainingDisplay() {
    Ogre::OverlayManager& overlays = Ogre::OverlayManager::getSingleton();
    for (auto name = elementNames.rbegin(); name != elementNames.rend(); ++name)
        overlays.destroyOverlayElement(*name);
    overlays.destroy(overlay);
}

void TrainingDisplay::showStatus(const std::string& line) {
    setCaption(statusText, shownStatus, line);
}

void TrainingDisplay::showMeter(const FrameMeter* meter) {
    if (!meter) {
        if (meterShown)
            meterBand->hide();
        meterShown = false;
        return;
    }
    if (!meterShown)
        meterBand->show();
    meterShown = true;
    const int first = meter->firstShown();
    for (std::size_t fighter = 0; fighter < 2; ++fighter) {
        for (int i = 0; i < FrameMeter::barLength; ++i) {
            const int step = first + i;
            const int kind =
                step < meter->length ? static_cast<int>(meter->cell(static_cast<int>(fighter), step)) : -1;
            int& shown = shownKinds[fighter][static_cast<std::size_t>(i)];
            if (kind == shown)
                continue;
            Ogre::OverlayElement* cell = cells[fighter][static_cast<std::size_t>(i)];
            if (kind < 0)
                cell->hide();
            else {
                cell->setMaterial(cellMaterials[static_cast<std::size_t>(kind)]);
                cell->show();
            }
            shown = kind;
        }
        setCaption(summaryTexts[fighter], shownSummaries[fighter],
                   meter->summary(static_cast<int>(fighter)));
    }
}

void TrainingDisplay::setCaption(Ogre::TextAreaOverlayElement* text, std::string& shown,
                                 const std::string& caption) {
    if (caption == shown)
        return;
    shown = caption;
    text->setCaption(shown);
}
