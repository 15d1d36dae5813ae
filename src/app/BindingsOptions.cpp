#include "app/BindingsOptions.h"

#include <iostream>

#include <CLI/CLI.hpp>

#include "input/BindingsFile.h"

BindingsOptions::BindingsOptions(CLI::App& app, Options& options) : options(options) {
    bindings = app.add_option("--bindings", path,
                              "The players' keys and controller buttons from FILE (default: "
                              "$XDG_CONFIG_HOME/vorrak/bindings.cfg if it exists)")
                   ->type_name("FILE");
    app.add_flag("--print-bindings", print,
                 "Print the bindings in force in the bindings file's format and exit");
}

std::optional<int> BindingsOptions::load() {
    // One line, as for any bindings file that cannot be used.
    if (bindings->count() > 0 && path.empty()) {
        std::cerr << "vorrak: --bindings: the file name is empty\n";
        return 2;
    }
    const std::string file = bindings->count() > 0 ? path : BindingsFile::defaultPath();
    options.bindingsPath = bindings->count() > 0 ? path : BindingsFile::userPath();
    // No path: the game's keys. A bad file ends the program before its window opens; the
    // menus, started from the desktop where no one reads stderr, open with the game's keys and
    // say it on the title, leaving the file as it is until the player changes keys.
    if (!file.empty()) {
        try {
            options.bindings = BindingsFile::read(file);
        } catch (const BindingsError& e) {
            if (!options.menu || print) {
                std::cerr << "vorrak: " << e.what() << "\n";
                return 2;
            }
            options.bindingsProblem = e.what();
        }
    }
    if (!print)
        return std::nullopt;
    std::cout << BindingsFile::format(options.bindings);
    return 0;
}
