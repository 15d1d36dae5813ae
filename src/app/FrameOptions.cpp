#include "app/FrameOptions.h"

#include <string>

#include <CLI/CLI.hpp>

#include "app/Options.h"

FrameOptions::FrameOptions(CLI::App& app, Options& options) {
    app.add_option("--vsync", options.vsync,
                   "Wait for the display's vertical sync before showing a picture, where the "
                   "display offers it (default on); the game draws one picture per step either "
                   "way")
        ->type_name("on|off")
        ->check(CLI::Validator(
            [](std::string& state) -> std::string {
                return state == "on" || state == "off" ? "" : "'" + state + "' is not on or off";
            },
            ""));
}
