#pragma once

// The screens of the menus, and what a screen may ask for instead of another screen: to start
// the match the session describes, or to end the program.
enum class Screen {
    Title,
    Computer,
    Online,
    Select,
    Replays,
    Settings,
    Keys1,
    Keys2,
    Moves,
    Play,
    Quit
};
