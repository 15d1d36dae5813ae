#include "app/CpuOptions.h"

#include <charconv>
#include <set>

#include <CLI/CLI.hpp>

#include "app/Options.h"
#include "cpu/CpuLevel.h"

namespace {

// What the arena runs with; nothing else of the game's applies to it.
const std::set<std::string> arenaOptions = {"--arena", "--matches", "--rounds", "--seed",
                                            "--p1",    "--p2",      "--stage"};

// A seed: a decimal number from 0 to 2^64 - 1, and nothing else (no sign, space or other base).
std::optional<std::uint64_t> seedOf(const std::string& text) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    std::uint64_t seed = 0;
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, seed);
    if (error != std::errc() || at != end)
        return std::nullopt;
    return seed;
}

std::string noSeed() {
    return "a seed is a whole number from 0 to 18446744073709551615; none was given";
}

CLI::Validator seedNumber() {
    return CLI::Validator(
        [](std::string& text) -> std::string {
            if (seedOf(text))
                return {};
            if (text.empty())
                return noSeed();
            return "'" + text + "' is not a whole number from 0 to 18446744073709551615";
        },
        "");
}

} // namespace

CpuOptions::CpuOptions(CLI::App& app, Options& options) : options(options) {
    CpuSettings& cpu = options.cpu;
    app.add_option("--cpu", cpu.level,
                   "The computer plays the second fighter at LEVEL, 1 (a beginner) to 8")
        ->type_name("LEVEL")
        ->check(CLI::Range(CpuLevel::lowest, CpuLevel::highest));
    app.add_option("--cpu-player", cpu.player,
                   "With --cpu: the fighter the computer plays, 1 (left) or 2 (right, default)")
        ->type_name("N")
        ->check(CLI::IsMember({1, 2}));
    app.add_option("--seed", seedText,
                   "With --cpu or --arena: the computer's seed, 0 to 18446744073709551615; the "
                   "same seed and the same match give the same play (default 1)")
        ->type_name("S")
        // Taken without a value too (and never the next option for one), to say what a seed is.
        ->expected(0, 1)
        ->check(seedNumber());
    const auto opponents = [&cpu](const CLI::results_t& names) {
        cpu.arenaSettings.a = names.at(0);
        cpu.arenaSettings.b = names.at(1);
        return true;
    };
    app.add_option("--arena", opponents,
                   "Play versus matches between two computer opponents A and B (levels 1 to 8, "
                   "or the references script, loop and blocker) with no window, print the "
                   "results and exit")
        ->type_name("A B")
        ->expected(2);
    app.add_option("--matches", cpu.arenaSettings.matches,
                   "Arena: the number of matches (default 100)")
        ->type_name("N")
        ->check(CLI::Range(1, 100000));
}

std::optional<std::string> CpuOptions::check(const CLI::App& app) {
    CpuSettings& cpu = options.cpu;
    const auto given = [&app](const char* name) { return app.count(name) > 0; };
    if (given("--cpu-player") && !given("--cpu"))
        return std::string("--cpu-player needs --cpu");
    if (given("--matches") && !given("--arena"))
        return std::string("--matches needs --arena");
    if (given("--seed") && !seedOf(seedText))
        return "--seed: " + noSeed();
    if (given("--seed") && !given("--cpu") && !given("--arena"))
        return std::string("--seed needs --cpu or --arena");
    if (given("--seed"))
        cpu.seed = *seedOf(seedText);
    if (given("--cpu")) {
        if (options.host || !options.joinHost.empty() || !options.watchHost.empty())
            return std::string("--cpu cannot be used with online play");
        if (!options.replayPath.empty() || options.frameData)
            return std::string("--cpu cannot be used with --replay or --frame-data");
        if (options.training && cpu.player == 1)
            return std::string(
                "--training: the computer plays the second fighter, the one the dummy plays");
    }
    if (!given("--arena"))
        return std::nullopt;
    for (const CLI::Option* option : app.get_options())
        if (option->count() > 0 && arenaOptions.count(option->get_name()) == 0)
            return "--arena takes only --matches, --rounds, --seed, --p1, --p2 and --stage, not " +
                   option->get_name();
    for (const std::string& name : {cpu.arenaSettings.a, cpu.arenaSettings.b})
        if (!Arena::validOpponent(name))
            return "--arena: '" + name + "' is not a level from 1 to 8, script, loop or blocker";
    cpu.arena = true;
    cpu.arenaSettings.rounds = options.rounds;
    cpu.arenaSettings.seed = cpu.seed;
    return std::nullopt;
}
