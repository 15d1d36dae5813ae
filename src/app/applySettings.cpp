#include "app/applySettings.h"

#include "app/Options.h"
#include "settings/Settings.h"

void applySettings(const Settings& settings, Options& options) {
    options.sound.volume = settings.volume;
    options.vsync = settings.vsync;
    options.rounds = settings.rounds;
    options.inputDelay = settings.inputDelay;
}
