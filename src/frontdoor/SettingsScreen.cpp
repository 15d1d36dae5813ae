#include "frontdoor/SettingsScreen.h"

#include <algorithm>
#include <iterator>

#include "frontdoor/KeptSettings.h"
#include "menu/MenuPage.h"

namespace {

constexpr int volumeStep = 10;
constexpr int replayLimits[] = {10, 20, 50, 100, 200, 500, 1000, 2000, 5000, 10000};

// The next of the kept limits in the direction given, from any limit the file held.
int stepLimit(int limit, int direction) {
    if (direction > 0) {
        const int* next = std::upper_bound(std::begin(replayLimits), std::end(replayLimits), limit);
        return next == std::end(replayLimits) ? limit : *next;
    }
    const int* next = std::lower_bound(std::begin(replayLimits), std::end(replayLimits), limit);
    return next == std::begin(replayLimits) ? limit : *(next - 1);
}

} // namespace

SettingsScreen::SettingsScreen(KeptSettings& kept) : kept(kept) {}

std::optional<Screen> SettingsScreen::step(MenuLayer& layer, Screen back) {
    MenuPage page(layer, "settings", "SETTINGS");
    Settings& settings = kept.settings;
    const Settings before = settings;
    settings.volume = std::clamp(
        settings.volume + volumeStep * page.choice("Volume", std::to_string(settings.volume)), 0,
        Settings::maxVolume);
    if (page.choice("Vsync", settings.vsync ? "On" : "Off") != 0)
        settings.vsync = !settings.vsync;
    settings.rounds = std::clamp(
        settings.rounds + 2 * page.choice("Rounds", std::to_string(settings.rounds)), 1, 9);
    settings.inputDelay =
        std::clamp(settings.inputDelay +
                       page.choice("Online input delay", std::to_string(settings.inputDelay)),
                   0, Settings::maxInputDelay);
    if (const int direction = page.choice("Replays kept", std::to_string(settings.replayLimit)))
        settings.replayLimit = stepLimit(settings.replayLimit, direction);
    std::optional<Screen> next;
    if (page.item("Player 1 keys"))
        next = Screen::Keys1;
    if (page.item("Player 2 keys"))
        next = Screen::Keys2;
    if (page.item("Back") || page.back())
        next = back;
    if (settings != before)
        problem = kept.saveSettings();
    if (!problem.empty())
        page.note(problem);
    return next;
}
