#include "frontdoor/SettingsScreen.h"

#include <algorithm>
#include <iterator>

#include "frontdoor/KeptSettings.h"
#include "menu/MenuPage.h"
#include "replay/ReplayFolder.h"

namespace {

constexpr int volumeStep = 10;
constexpr int replaysKeptRow = 4;
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

SettingsScreen::SettingsScreen(KeptSettings& kept, std::string replaysFolder)
    : kept(kept), replaysFolder(std::move(replaysFolder)) {}

std::string SettingsScreen::defaultReplays() { return ReplayFolder::defaultFolder(); }

std::optional<Screen> SettingsScreen::askLimit(MenuLayer& layer) {
    MenuPage page(layer, "limit", "KEEP " + std::to_string(askedLimit) + " REPLAYS?");
    page.note(std::to_string(wouldDelete) + (wouldDelete == 1 ? " recording" : " recordings") +
              ", the oldest, will be deleted after the next match");
    // No first: a second tap does not delete by mistake.
    if (page.item("No") || page.back())
        askedLimit = 0;
    if (page.item("Yes")) {
        kept.settings.replayLimit = askedLimit;
        askedLimit = 0;
        problem = kept.saveSettings();
    }
    if (askedLimit == 0)
        refocusSteps = 2;
    return std::nullopt;
}

std::optional<Screen> SettingsScreen::step(MenuLayer& layer, Screen back) {
    if (askedLimit > 0)
        return askLimit(layer);
    MenuPage page(layer, "settings", "SETTINGS");
    // Back from the question, on the row that asked it: over two steps, as ImGui gives a page
    // shown again its first row on the step after it shows.
    if (refocusSteps > 0) {
        page.focus(replaysKeptRow);
        --refocusSteps;
    }
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
    if (const int direction = page.choice("Replays kept", std::to_string(settings.replayLimit))) {
        const int limit = stepLimit(settings.replayLimit, direction);
        const int deleted = ReplayFolder(limit, replaysFolder).pruneCount();
        if (direction < 0 && deleted > 0) {
            askedLimit = limit;
            wouldDelete = deleted;
        } else {
            settings.replayLimit = limit;
        }
    }
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
