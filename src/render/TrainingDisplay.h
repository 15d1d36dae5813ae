#pragma once

#include <array>
#include <string>
#include <vector>

#include <OgreMaterial.h>

#include "training/FrameMeter.h"

namespace Ogre {
class Overlay;
class OverlayContainer;
class OverlayElement;
class TextAreaOverlayElement;
} // namespace Ogre

// What the training mode draws over the match: its status line at the top, and on demand the
// frame meter at the bottom (in a versus match above the health figures), a row of coloured
// cells per fighter with the figures of the last exchange. The HUD's font has digits and arrows
// only, so the text is set in a system font; like the input panels' outlined glyphs, every line
// and bar sits on a dark translucent band, so it reads over the fighters' white clothing as
// well as the dark floor. Owned by the training driver.
class TrainingDisplay {
public:
    // versus: the meter stays clear of the round wins.
    explicit TrainingDisplay(bool versus);
    ~TrainingDisplay();

    TrainingDisplay(const TrainingDisplay&) = delete;
    TrainingDisplay& operator=(const TrainingDisplay&) = delete;

    // Cheap when nothing changed: only changed captions and cells reach the engine.
    void showStatus(const std::string& line);
    // The meter as it stands, or no meter at all.
    void showMeter(const FrameMeter* meter);

private:
    using Cell = FrameMeter::Cell;
    static constexpr int cellKinds = 6;

    void setCaption(Ogre::TextAreaOverlayElement* text, std::string& shown, const std::string& caption);

    std::array<Ogre::MaterialPtr, cellKinds> cellMaterials;
    Ogre::Overlay* overlay = nullptr;
    Ogre::OverlayContainer* meterBand = nullptr;
    Ogre::TextAreaOverlayElement* statusText = nullptr;
    std::array<Ogre::TextAreaOverlayElement*, 2> summaryTexts{};
    // Per fighter, the bar's cells left to right, and the kind each one shows (-1: hidden).
    std::array<std::vector<Ogre::OverlayElement*>, 2> cells;
    std::array<std::vector<int>, 2> shownKinds;
    std::vector<std::string> elementNames;
    std::string shownStatus;
    std::array<std::string, 2> shownSummaries;
    bool meterShown = false;
};
