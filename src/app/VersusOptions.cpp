#include "app/VersusOptions.h"

#include <CLI/CLI.hpp>

VersusOptions::VersusOptions(CLI::App& app, Options& options) {
    versus = app.add_flag(
        "--versus", options.versus,
        "Play a match in rounds, with a 99-second round timer and walls, to a winner");
    rounds = app.add_option("--rounds", options.rounds,
                            "Versus: the number of rounds, 1, 3, 5, 7 or 9 (default 3); the "
                            "first to win more than half takes the match")
                 ->type_name("N")
                 ->check(CLI::IsMember({1, 3, 5, 7, 9}));
}

std::optional<std::string> VersusOptions::check(bool arena) const {
    if (rounds->count() > 0 && versus->count() == 0 && !arena)
        return std::string("--rounds needs --versus or --arena");
    return std::nullopt;
}
