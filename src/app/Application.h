#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/GameFiles.h"
#include "app/Options.h"

namespace Ogre {
class Root;
class SceneManager;
class Camera;
class RenderWindow;
} // namespace Ogre
class ExportModule;
struct FramePass;
class Game;
class Match;
class MatchScene;
class MatchView;
class Session;

// The program as the command line asks for it, outside the menus: one scene (the match the
// options make) on a session of its own, run until a player presses Escape, the window is
// closed or a signal comes; or a mode without a window (the frame-data table, the arena, the
// export). The entry point owns it; engine-backed tests start it in halves.
class Application {
public:
    // With the media and the modules where files says, the log too.
    explicit Application(GameFiles files, Options options = {});
    // Everything in resourceDir ("media", the modules), the log in the working
    // directory: the build folder's layout.
    explicit Application(const std::string& resourceDir, Options options = {});
    ~Application();

    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The game, a recording, a replay or online play as the options say, until Escape, the
    // window's end or a signal; with --frame-data, the table only. Exceptions propagate.
    void run();
    // The orderly teardown: the match ended and logged, its recording completed, then the
    // session in reverse order of creation; the destructor does it otherwise.
    void shutdown();

    // The start-up sequence in two halves, so engine-backed tests can stop after the first:
    // the engine, its window, the resources and the quad meshes ...
    void startEngine();
    // ... then the sprite library, the match and what drives it, the stage, the match's view
    // and the logic clock.
    void createMatch();
    // The camera on the options' stage and its floor.
    void createScene();
    // The render loop of a created match (see Session::run).
    void runFrameLoop();
    // Every pass of the frame loop from now on is told to the observer too: the input-lag
    // benchmark's probe traces them, with the loop on its own clock or, to compare, on the
    // engine's frame timer as it was before (FrameLoop::Setup).
    void observeFrames(std::function<void(const FramePass&)> observer, bool engineTimer = false);

    // A line for the engine's log, kept until the log exists when told before.
    void noteInLog(const std::string& line);

    Ogre::Root* getRoot() const;
    Ogre::SceneManager* getSceneManager() const;
    Ogre::Camera* getCamera() const;
    Ogre::RenderWindow* getWindow() const;
    Game* getGame() const;
    Match* getMatch() const;
    MatchView* getMatchView() const;
    const std::string& getResourceDir() const;

private:
    void teardown();

    Options options;
    // Opened before the engine starts when a replay is exported.
    std::unique_ptr<ExportModule> exportModule;
    // The game keeps its window hidden until the keyboard listens to it; engine-backed tests
    // need it shown from the start.
    bool windowHiddenUntilInput = false;
    std::unique_ptr<Session> session;
    std::unique_ptr<MatchScene> scene;
};
