#include "support/BenchEngine.h"

#include <cstdlib>
#include <memory>
#include <string>

#include <unistd.h>

namespace {

std::unique_ptr<Application>& instance() {
    static std::unique_ptr<Application> application;
    return application;
}

std::string programDirectory() {
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    const std::string program(path, length > 0 ? length : 0);
    return program.substr(0, program.rfind('/'));
}

} // namespace

namespace BenchEngine {

Application& app() {
    std::unique_ptr<Application>& application = instance();
    if (!application) {
        application = std::make_unique<Application>(programDirectory());
        application->startEngine();
        // The engine's plug-ins were loaded just now and take their statics down at exit;
        // registering here runs this teardown before theirs.
        std::atexit(stop);
    }
    return *application;
}

void stop() {
    instance().reset();
}

} // namespace BenchEngine
