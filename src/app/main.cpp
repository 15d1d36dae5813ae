#include <exception>
#include <optional>
#include <string>

#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/FatalReport.h"
#include "app/SignalWatcher.h"
#include "app/XErrorHandlers.h"
#include "app/programDirectory.h"

namespace {

// Runs the work and returns the text of what it threw. The text is taken here, at once: an
// exception thrown inside an engine plug-in cannot be read once the plug-in is unloaded.
template <typename Work> std::optional<std::string> failureOf(Work&& work) {
    try {
        work();
    } catch (const std::exception& e) {
        // The engine's and the input library's exceptions are standard exceptions whose
        // what() is their full description.
        return std::string(e.what());
    } catch (...) {
        return std::string("An unknown error ended the game.");
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (const std::optional<int> status = parseCommandLine(argc, argv, options))
        return *status;
    XErrorHandlers::install();
    bool failed = false;
    {
        Application app(programDirectory(), options);
        // Reported while the engine's log still exists; after a failure, the teardown's own
        // errors would only hide the first.
        if (const auto failure = failureOf([&app] { app.run(); })) {
            FatalReport::print(*failure);
            failed = true;
        }
        const auto teardownFailure = failureOf([&app] { app.shutdown(); });
        if (teardownFailure && !failed) {
            FatalReport::print(*teardownFailure);
            failed = true;
        }
    }
    if (failed)
        return 1;
    if (const int signal = SignalWatcher::caught())
        return 128 + signal;
    return 0;
}
