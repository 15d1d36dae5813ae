#include "support/EngineEnvironment.h"

#include <memory>

#include <gtest/gtest.h>
#include <Ogre.h>

#include "app/programDirectory.h"

namespace {

std::unique_ptr<Application> application;

class Environment : public ::testing::Environment {
public:
    void SetUp() override {
        application = std::make_unique<Application>(programDirectory());
        application->startEngine();
        application->createScene();
    }
    void TearDown() override { application.reset(); }
};

} // namespace

namespace EngineEnvironment {

Application& app() { return *application; }

void renderFrame() { application->getRoot()->renderOneFrame(); }

std::string screenshot(const std::string& name) {
    const std::string path = "screenshot-" + name + ".png";
    application->getWindow()->writeContentsToFile(path);
    return path;
}

} // namespace EngineEnvironment

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new Environment);
    return RUN_ALL_TESTS();
}
