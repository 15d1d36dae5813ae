#include "support/BenchEngine.h"

#include <cstdlib>
#include <memory>
#include <string>

#include "app/programDirectory.h"

namespace {

std::unique_ptr<Application>& instance() {
    static std::unique_ptr<Application> application;
    return application;
}

} // namespace

namespace BenchEngine {

Application& app() {
    std::unique_ptr<Application>& application = instance();
    if (!application) {
        // Pictures drawn back to back measure the drawing, not a display's vertical sync.
        Options options;
        options.vsync = false;
        application = std::make_unique<Application>(programDirectory(), options);
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
