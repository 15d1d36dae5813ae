#pragma once

#include <optional>
#include <string>

#include "net/ConnectionFigures.h"
#include "render/FrameFigures.h"

namespace Ogre {
class Overlay;
class OverlayContainer;
class TextAreaOverlayElement;
} // namespace Ogre

// The timing overlay that F12 shows and hides, in the top right corner: the pictures of the last
// second, the time of a logic step and of a picture (mean and worst), and online the
// connection. It only presents what the frame loop and the drivers count: nothing of it is
// match state, and nothing it shows is recorded. Like the lab's lines it is set in a system
// font on a dark translucent band. Hidden until shown; owned by the Application, or by the
// export when a video asks for it.
class TimingOverlay {
public:
    TimingOverlay();
    ~TimingOverlay();

    TimingOverlay(const TimingOverlay&) = delete;
    TimingOverlay& operator=(const TimingOverlay&) = delete;

    void toggle();
    void setVisible(bool visible);
    bool visible() const { return on; }
    // Cheap when the text is unchanged.
    void show(const FrameFigures& frames, const std::optional<ConnectionFigures>& connection);
    // What it shows, a line each.
    const std::string& text() const { return shown; }

    static std::string lines(const FrameFigures& frames,
                             const std::optional<ConnectionFigures>& connection);

private:
    Ogre::Overlay* overlay = nullptr;
    Ogre::OverlayContainer* band = nullptr;
    Ogre::TextAreaOverlayElement* caption = nullptr;
    std::string shown;
    bool on = false;
};
