#include "frontdoor/KeptSettings.h"

#include <exception>

#include "input/BindingsFile.h"

KeptSettings::KeptSettings(Settings settings, SettingsFile file, Bindings bindings,
                           std::string bindingsPath)
    : settings(settings), bindings(std::move(bindings)), file(std::move(file)),
      bindingsPath(std::move(bindingsPath)) {}

std::string KeptSettings::saveSettings() const {
    if (file.path().empty())
        return "The settings cannot be kept: no folder for settings.cfg is known (HOME is unset)";
    try {
        file.save(settings);
    } catch (const std::exception& e) {
        return e.what();
    }
    return {};
}

std::string KeptSettings::saveBindings() const {
    if (bindingsPath.empty())
        return "The keys cannot be kept: no folder for the bindings file is known";
    try {
        BindingsFile::write(bindingsPath, bindings);
    } catch (const std::exception& e) {
        return e.what();
    }
    return {};
}
