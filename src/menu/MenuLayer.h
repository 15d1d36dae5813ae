#pragma once

#include <string>
#include <vector>

#include "menu/KeyRepeat.h"
#include "menu/MenuInput.h"

namespace Ogre {
class ImGuiOverlay;
class RenderTarget;
} // namespace Ogre
struct ImFont;

// The menus' surface: Dear ImGui drawn in the game's window through the engine's ImGui overlay,
// styled as the game's menus (DejaVu Sans Bold as in the game's own lettering, large type, the
// game's colours, no window frames), and driven by the keyboard, both controllers and the mouse
// at once: arrows or W A S D and the d-pad move, Enter or J and the punch button confirm,
// Escape and the kick button go back. One picture a step, like the match: each step the menus'
// driver calls beginStep with the step's input, builds the step's page (MenuPage) and calls
// endStep; the engine draws it with the window's next picture. A direction acts when pressed
// and, held, repeats by the wall clock (KeyRepeat): one tap is one row however slowly the
// pictures come, and a held key repeats as fast on any machine.
//
// ImGui has one context, the overlay's: only one layer may exist at a time. Made by whoever
// shows menus, after the engine's overlay system; it gives the overlay to the engine's overlay
// manager and takes it back when destroyed.
class MenuLayer {
public:
    explicit MenuLayer(const Ogre::RenderTarget& target);
    ~MenuLayer();

    MenuLayer(const MenuLayer&) = delete;
    MenuLayer& operator=(const MenuLayer&) = delete;

    // Starts the step's picture of the menus; shows them if hidden.
    void beginStep(const MenuInput& input);
    // Ends it: the picture is ready for the engine to draw.
    void endStep();
    // Hides the menus from the next picture until a step begins again.
    void hide();

    // Escape or a controller's back button went down this step, while no text was being typed
    // (Escape then only ends the typing).
    bool backPressed() const { return back; }
    // Left or right went down this step, or has been held long enough to repeat.
    bool leftPressed() const;
    bool rightPressed() const;
    // A text field was being typed into in this step.
    bool typing() const { return typingNow; }

    // The small print every page shows at its foot from now on (which keys do what); none when
    // empty.
    void setFooter(std::string text) { foot = std::move(text); }
    const std::string& footer() const { return foot; }

    ImFont* headingFont() const { return heading; }
    ImFont* itemFont() const { return item; }

private:
    void feedKeyboard(const MenuInput& input, bool typingBefore);
    void feedNavigation(const MenuInput& input, bool typingBefore);

    friend class MenuPage;

    const Ogre::RenderTarget& target;
    // The font file, which the atlas reads when the overlay is first shown.
    std::vector<char> fontData;
    // Owned by the engine's overlay manager.
    Ogre::ImGuiOverlay* overlay = nullptr;
    ImFont* heading = nullptr;
    ImFont* item = nullptr;
    bool back = false;
    bool backHeld = false;
    // Up, down, left and right.
    KeyRepeat directions[4];
    bool inStep = false;
    // Set by the page's text field while it is being typed into.
    bool typingNow = false;
    std::string foot;
};
