#pragma once

#include <optional>
#include <string>

#include "export/ExportSettings.h"

namespace CLI {
class App;
class Option;
} // namespace CLI

// The video export on the command line: --export OUT and what shapes the clip (--size, --from,
// --to, --boxes, --inputs, --timing), all of which need --export. parseCommandLine owns it for the parse.
class ExportOptions {
public:
    ExportOptions(CLI::App& app, ExportSettings& settings);

    // A usage error in these options, or nothing.
    std::optional<std::string> check();

    CLI::Option* exportVideo;

private:
    ExportSettings& settings;
    std::string size;
    CLI::Option* sizeOption;
    CLI::Option* to;
};
