#pragma once

#include <functional>
#include <string>

#include "input/Bindings.h"
#include "settings/Settings.h"
#include "settings/SettingsFile.h"

// The settings and the players' bindings as the settings screen changes them, and the files
// they are kept in: settings.cfg and the bindings file --bindings reads (or the user's own).
// Owned by the FrontDoor for the whole session; the screens change it and save it.
class KeptSettings {
public:
    KeptSettings(Settings settings, SettingsFile file, Bindings bindings, std::string bindingsPath);

    Settings settings;
    Bindings bindings;
    // Told of every change of the bindings, so the keys work at once: set by the run that
    // shows the screens.
    std::function<void(const Bindings&)> bindingsChanged;

    // Each writes its file whole or not at all; an error's words, or empty.
    std::string saveSettings() const;
    std::string saveBindings() const;

private:
    SettingsFile file;
    std::string bindingsPath;
};
