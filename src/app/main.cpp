#include <iostream>
#include <string>

#include <exception>

#include <unistd.h>

#include "app/Application.h"

namespace {

// "media" and "sprites.cfg" live beside the program, wherever it is started from.
std::string programDirectory(const char* argv0) {
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    std::string program = length > 0 ? std::string(path, length) : std::string(argv0);
    const std::string::size_type slash = program.rfind('/');
    return slash == std::string::npos ? "." : program.substr(0, slash);
}

int reportFatal(const std::string& text) {
    std::cerr << "An exception has occurred!\n" << text << std::endl;
    return 1;
}

} // namespace

int main(int, char** argv) {
    try {
        Application app(programDirectory(argv[0]));
        app.run();
    } catch (const std::exception& e) {
        // The engine's and the input library's exceptions are standard exceptions whose
        // what() is their full description.
        return reportFatal(e.what());
    } catch (...) {
        return reportFatal("An unknown error ended the game.");
    }
    return 0;
}
