#pragma once

// The buttons of a game controller, named by their place on a standard pad (A is the bottom
// face button, B the right one) and numbered as SDL numbers them.
namespace PadButton {
enum ePadButton : int {
    A,
    B,
    X,
    Y,
    Back,
    Guide,
    Start,
    LeftStick,
    RightStick,
    LeftShoulder,
    RightShoulder,
    DpadUp,
    DpadDown,
    DpadLeft,
    DpadRight,
};
constexpr int count = 15;
// The names the bindings file gives them, after "pad:"; SDL's own names.
constexpr const char* names[count] = {"a",
                                      "b",
                                      "x",
                                      "y",
                                      "back",
                                      "guide",
                                      "start",
                                      "leftstick",
                                      "rightstick",
                                      "leftshoulder",
                                      "rightshoulder",
                                      "dpup",
                                      "dpdown",
                                      "dpleft",
                                      "dpright"};
// As the game's words name them.
constexpr const char* displayNames[count] = {
    "A",          "B",           "X",           "Y",          "Back",
    "Guide",      "Start",       "Left stick",  "Right stick", "Left shoulder",
    "Right shoulder", "D-pad up", "D-pad down", "D-pad left",  "D-pad right"};
// Back hands the controller to the other player and Guide belongs to the system: neither can
// be bound.
constexpr bool bindable(ePadButton button) {
    return button != Back && button != Guide;
}
} // namespace PadButton
