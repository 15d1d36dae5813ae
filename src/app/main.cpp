#include <exception>
#include <iostream>
#include <string>

#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/programDirectory.h"
#include "replay/ReplayError.h"

namespace {

int reportFatal(const std::string& text) {
    std::cerr << "An exception has occurred!\n" << text << std::endl;
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (const std::optional<int> status = parseCommandLine(argc, argv, options))
        return *status;
    try {
        Application app(programDirectory(), options);
        app.run();
    } catch (const ReplayError& e) {
        // A file the player named, not a fault of the game: one line says it.
        std::cerr << "vorrak: " << e.what() << std::endl;
        return 1;
    } catch (const std::exception& e) {
        // The engine's and the input library's exceptions are standard exceptions whose
        // what() is their full description.
        return reportFatal(e.what());
    } catch (...) {
        return reportFatal("An unknown error ended the game.");
    }
    return 0;
}
