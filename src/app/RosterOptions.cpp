#include "app/RosterOptions.h"

#include <algorithm>
#include <iostream>
#include <vector>

#include <CLI/CLI.hpp>

#include "roster/Roster.h"

namespace {

std::string listOf(const std::vector<std::string>& names) {
    std::string list;
    for (const std::string& name : names)
        list += (list.empty() ? "" : ", ") + name;
    return list.empty() ? "none" : list;
}

std::optional<std::string> unknown(const std::string& option, const std::string& name,
                                   const std::vector<std::string>& names, const char* kind) {
    if (std::find(names.begin(), names.end(), name) != names.end())
        return std::nullopt;
    return option + ": no " + kind + " '" + name + "' (there are " + listOf(names) + ")";
}

} // namespace

RosterOptions::RosterOptions(CLI::App& app, Options& options) : options(options) {
    given[0] = app.add_option("--p1", options.fighters[0],
                              "The first player's fighter, on the left (default sora; see --list)")
                   ->type_name("NAME");
    given[1] =
        app.add_option("--p2", options.fighters[1],
                       "The second player's fighter, on the right (default sora; see --list)")
            ->type_name("NAME");
    given[2] = app.add_option("--stage", options.stage, "The stage (default dojo; see --list)")
                   ->type_name("NAME");
    listed = app.add_flag("--list", "Print the fighters and stages found, one a line, and exit");
}

std::optional<std::string> RosterOptions::check(const std::string& mediaFolder) const {
    const Roster roster(mediaFolder);
    const std::vector<std::string> fighters = roster.fighters();
    for (std::size_t side = 0; side < 2; ++side) {
        if (given[side]->count() == 0)
            continue;
        if (auto error =
                unknown(side == 0 ? "--p1" : "--p2", options.fighters[side], fighters, "fighter"))
            return error;
    }
    if (given[2]->count() > 0)
        if (auto error = unknown("--stage", options.stage, roster.stages(), "stage"))
            return error;
    // Online each player chooses the fighter of its own side, and the host the stage.
    if (options.host && given[1]->count() > 0)
        return std::string("--p2: the host plays the left fighter, chosen with --p1; the guest "
                           "chooses the right one");
    if (!options.joinHost.empty() && given[0]->count() > 0)
        return std::string("--p1: the guest plays the right fighter, chosen with --p2; the host "
                           "chooses the left one");
    if (!options.joinHost.empty() && given[2]->count() > 0)
        return std::string("--stage: the host chooses the stage");
    if (!options.watchHost.empty() && (given[0]->count() + given[1]->count() + given[2]->count()))
        return std::string("--p1, --p2 and --stage: a spectator watches the host's choices");
    return std::nullopt;
}

bool RosterOptions::list(const std::string& mediaFolder) const {
    if (listed->count() == 0)
        return false;
    const Roster roster(mediaFolder);
    for (const std::string& fighter : roster.fighters())
        std::cout << "fighter " << fighter << "\n";
    for (const std::string& stage : roster.stages())
        std::cout << "stage " << stage << "\n";
    return true;
}
