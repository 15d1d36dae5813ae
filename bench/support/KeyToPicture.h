#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <random>
#include <set>

struct _XDisplay;

// Measures a key's lag on a game's window from outside, as a player with a camera would: it
// presses the key through the X server's test extension at a random moment, uniform over a
// logic step, and times the first picture that shows the press. The window's damage events
// mark the arrival of each picture; the pixels of the left fighter's part of the window tell
// whether the picture shows the fighter standing (the pictures learnt beforehand) or not. Made
// by the input-lag benchmark for one game; the window is not owned.
class KeyToPicture {
public:
    using Clock = std::chrono::steady_clock;

    // Throws std::runtime_error when the display lacks either extension.
    explicit KeyToPicture(unsigned long window);
    ~KeyToPicture();

    KeyToPicture(const KeyToPicture&) = delete;
    KeyToPicture& operator=(const KeyToPicture&) = delete;

    // The pictures of the fighter standing, for this long; false when no picture came.
    bool learnStanding(double seconds);

    struct Press {
        Clock::time_point pressed;
        Clock::time_point pictured;
    };
    // Waits for the fighter to stand, then a moment more, drawn at random over a step; presses
    // the key, holds it until a picture shows it (a second at most) and lets it go.
    std::optional<Press> press(unsigned long keysym, std::mt19937& random);

private:
    // The arrival of the next picture, or nothing by the deadline.
    std::optional<Clock::time_point> nextPicture(Clock::time_point deadline);
    // The fighter's part of the window as it is now.
    std::uint64_t fighterPixels() const;
    void dropPending();
    void key(unsigned long keysym, bool down);

    _XDisplay* display;
    unsigned long window;
    unsigned long damage = 0;
    int damageEventBase = 0;
    std::set<std::uint64_t> standing;
};
