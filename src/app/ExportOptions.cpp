#include "app/ExportOptions.h"

#include <CLI/CLI.hpp>

#include "export/VideoTarget.h"

namespace {

// WxH with both even (the video's colour planes are halved) and from 16 to 4096.
bool parseSize(const std::string& size, ExportSettings& settings) {
    const std::size_t x = size.find('x');
    const auto side = [](const std::string& digits, int& value) {
        if (digits.empty() || digits.size() > 4 ||
            digits.find_first_not_of("0123456789") != std::string::npos)
            return false;
        value = std::stoi(digits);
        return value >= 16 && value <= 4096 && value % 2 == 0;
    };
    return x != std::string::npos && side(size.substr(0, x), settings.width) &&
           side(size.substr(x + 1), settings.height);
}

// A replay's step number: steps are counted from 1, as the export's progress counts them.
CLI::Validator stepNumber() {
    return CLI::Validator(
        [](std::string& text) -> std::string {
            const bool digits = !text.empty() && text.size() <= 18 &&
                                text.find_first_not_of("0123456789") == std::string::npos;
            if (digits && std::stoull(text) >= 1)
                return {};
            return "'" + text + "' is not a step: steps are numbered from 1";
        },
        "");
}

} // namespace

ExportOptions::ExportOptions(CLI::App& app, ExportSettings& settings) : settings(settings) {
    exportVideo = app.add_option("--export", settings.path,
                                 "Render the replay into the video OUT (.mp4, .webm or lossless "
                                 ".mkv), one picture per step; needs a display, the window stays "
                                 "hidden")
                      ->type_name("OUT");
    sizeOption =
        app.add_option("--size", size, "The video's size (default 800x600)")->type_name("WxH");
    CLI::Option* from =
        app.add_option("--from", settings.from, "The video starts at step STEP (default 1)")
            ->type_name("STEP")
            ->check(stepNumber());
    to = app.add_option("--to", settings.to, "The video ends with step STEP (default the last)")
             ->type_name("STEP")
             ->check(stepNumber());
    CLI::Option* boxes =
        app.add_flag("--boxes", settings.boxes, "The video shows the boxes from the start, as F3");
    CLI::Option* inputs = app.add_flag("--inputs", settings.inputs,
                                       "The video shows the input panels from the start, as F2");
    CLI::Option* timing = app.add_flag(
        "--timing", settings.timing,
        "The video shows the timing overlay, as F12, with the export's own pictures and times");
    for (CLI::Option* choice : {sizeOption, from, to, boxes, inputs, timing})
        choice->needs(exportVideo);
}

std::optional<std::string> ExportOptions::check() {
    if (exportVideo->count() > 0 && !VideoTarget::supported(settings.path))
        return "--export: '" + settings.path + "' does not end in .mp4, .webm or .mkv";
    if (sizeOption->count() > 0 && !parseSize(size, settings))
        return "--size: '" + size + "' is not WxH with even sides from 16 to 4096";
    if (to->count() > 0 && settings.from > settings.to)
        return "--from " + std::to_string(settings.from) + " is after --to " +
               std::to_string(settings.to);
    return std::nullopt;
}
