#include "app/Application.h"

#include <exception>

#include "app/MatchScene.h"
#include "app/ReplayExport.h"
#include "app/Session.h"
#include "export/ExportModule.h"
#include "export/VideoTarget.h"
#include "replay/ReplayReader.h"

Application::Application(GameFiles files, Options options)
    : options(options), session(std::make_unique<Session>(std::move(files))),
      scene(std::make_unique<MatchScene>(*session, std::move(options))) {}

Application::Application(const std::string& resourceDir, Options options)
    : Application(GameFiles::beside(resourceDir), std::move(options)) {}

// A destructor must not throw; the entry point tears down through shutdown and reports.
Application::~Application() {
    try {
        teardown();
    } catch (...) {
    }
}

void Application::run() {
    scene->prepare();
    if (options.frameData)
        return scene->printFrameData();
    if (options.cpu.arena)
        return scene->runArena();
    if (!options.exportSettings.path.empty()) {
        // The replay was read by prepare: a cut beyond its end is refused before the engine.
        ReplayExport::checkCut(options.exportSettings, scene->replayRead());
        VideoTarget::check(options.exportSettings.path);
        exportModule = std::make_unique<ExportModule>(session->getFiles().modules,
                                                      options.exportSettings.path);
    }
    windowHiddenUntilInput = true;
    startEngine();
    // From here on a signal ends the game in order, at the next frame; before, there is
    // nothing to finish and a start-up that is stuck must still end at once.
    if (exportModule) {
        session->watchSignals(false);
        return scene->exportReplay(*exportModule);
    }
    createMatch();
    session->watchSignals(true);
    runFrameLoop();
}

void Application::startEngine() {
    scene->prepare();
    Session::Start start;
    start.title = scene->title();
    start.vsync = options.vsync;
    start.hiddenUntilInput = windowHiddenUntilInput;
    start.imageFolders = scene->imageFolders();
    start.hearsSound = !options.frameData && options.exportSettings.path.empty();
    start.sound = options.sound;
    start.bindings = options.bindings;
    session->startEngine(start);
}

void Application::createMatch() {
    scene->createMatch();
    session->listen(*scene);
}

void Application::createScene() { scene->createStage(); }

void Application::runFrameLoop() { session->run(*scene); }

void Application::observeFrames(std::function<void(const FramePass&)> observer,
                                bool engineTimer) {
    session->observeFrames(std::move(observer), engineTimer);
}

void Application::shutdown() { teardown(); }

// The match first (its recording failure is thrown once the rest is torn down), then the
// session.
void Application::teardown() {
    std::exception_ptr recordingFailure;
    try {
        if (scene)
            scene->end();
    } catch (...) {
        recordingFailure = std::current_exception();
    }
    session->release();
    scene.reset();
    session->shutdown();
    if (recordingFailure)
        std::rethrow_exception(recordingFailure);
}

void Application::noteInLog(const std::string& line) { session->noteInLog(line); }

Ogre::Root* Application::getRoot() const { return session->getRoot(); }
Ogre::SceneManager* Application::getSceneManager() const { return session->getSceneManager(); }
Ogre::Camera* Application::getCamera() const { return session->getCamera(); }
Ogre::RenderWindow* Application::getWindow() const { return session->getWindow(); }
Game* Application::getGame() const { return scene ? scene->getGame() : nullptr; }
Match* Application::getMatch() const { return scene ? scene->getMatch() : nullptr; }
MatchView* Application::getMatchView() const { return scene ? scene->getMatchView() : nullptr; }
const std::string& Application::getResourceDir() const { return session->getResourceDir(); }
