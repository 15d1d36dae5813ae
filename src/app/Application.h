#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/GameFiles.h"
#include "app/Options.h"
#include "menu/MenuInput.h"
#include "match/MatchRules.h"
#include "net/ConnectionFigures.h"
#include "replay/ReplayMode.h"
#include "roster/Lineup.h"
#include "roster/StageData.h"

namespace Ogre {
class Root;
class SceneManager;
class Camera;
class RenderWindow;
class OverlaySystem;
class LogManager;
} // namespace Ogre
struct _XDisplay;
class CharacterData;
class ConnectionDisplay;
class DecodedImageCodec;
class ExportModule;
struct MatchState;
class FixedFrameUpdater;
class FocusWatcher;
class FrameStats;
struct FramePass;
class Game;
class Match;
class LogAppender;
class MatchView;
class Backdrop;
class ReplayRecorder;
class MatchDriver;
class PointerWatcher;
class SignalWatcher;
class SoundPresenter;
class SpriteManager;
class StartupFiles;
struct Replay;
struct RoundState;
class TimingOverlay;
class WindowCloseWatcher;

// Starts the engine with its fixed configuration, builds the scene and the match, and runs the
// render loop until a player presses Escape or the window is closed. The entry point owns it;
// it owns everything it creates and tears it down in reverse order of creation.
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
    // The orderly teardown, in reverse order of creation; the destructor does it otherwise.
    void shutdown();

    // The start-up sequence in two halves, so engine-backed tests can stop after the first:
    // the engine, its window, the resources and the quad meshes ...
    void startEngine();
    // ... then the sprite library, the match and what drives it, the scene, the match's view and
    // the logic clock.
    void createMatch();
    // The sprite library and the Game with both fighters: the first part of createMatch.
    void createGame();
    // The fighters and the stage of the options, read and checked; once. startEngine reads them
    // if need be.
    void loadRoster();

    void createMeshes();
    void createScene();
    void createGround();
    void placeCamera();
    // The match's fighters and stage as online play or the host says, in place of the options'.
    void castMatch(const Lineup& cast);
    void createFrameListener();
    // The render loop of a created match, until Escape, the window's end or a signal: one
    // picture per step. The sound and the game controllers open after the first picture.
    void runFrameLoop();
    // Every pass of the frame loop from now on is told to the observer too: the input-lag
    // benchmark's probe traces them, with the loop on its own clock or, to compare, on the
    // engine's frame timer as it was before (FrameLoop::Setup).
    void observeFrames(std::function<void(const FramePass&)> observer, bool engineTimer = false);

    // The front door's hold on a match it starts: the driver the options make (the computer
    // included) is handed to wrap, which returns the driver that runs in its place.
    using DriverWrap = std::function<std::unique_ptr<MatchDriver>(std::unique_ptr<MatchDriver>)>;
    void wrapDriver(DriverWrap wrap) { driverWrap = std::move(wrap); }
    // What drives the menus this step: the keys and text the input system sampled, both
    // controllers' controls and the mouse. Only once the match is created.
    MenuInput menuInput();
    // A line for the engine's log, kept until the log exists when told before.
    void noteInLog(const std::string& line);
    // The players' keys and buttons from now on.
    void rebind(const Bindings& bindings);

    Ogre::Root* getRoot() const { return root.get(); }
    Ogre::SceneManager* getSceneManager() const { return sceneManager; }
    Ogre::Camera* getCamera() const { return camera; }
    Ogre::RenderWindow* getWindow() const { return window; }
    Game* getGame() const { return game.get(); }
    Match* getMatch() const { return match.get(); }
    MatchView* getMatchView() const { return matchView.get(); }
    const std::string& getResourceDir() const { return resourceDir; }

private:
    void openDisplay();
    void loadPlugins();
    void requireMaterials();
    void teardown();
    std::unique_ptr<MatchDriver> createDriver();
    std::unique_ptr<MatchDriver> createOnlineDriver();
    std::unique_ptr<MatchDriver> createLocalDriver();
    void openDevices();
    // Before each picture: F12's toggle and the timing overlay's figures.
    void presentTiming();
    // By the rules of the options, or those given; from the match's start, or from `start`
    // before the match's step firstStep.
    std::unique_ptr<ReplayRecorder> createRecorder(const MatchRules* rules = nullptr,
                                                   const MatchState* start = nullptr,
                                                   int firstStep = 0);
    // Watching an online match (ApplicationSpectator.cpp).
    std::unique_ptr<MatchDriver> createSpectatorDriver();
    void printFrameData();
    // --replay: the file read and checked, and its fighters and stage chosen in place of the
    // options'; once they are loaded, checked against what it recorded.
    void readReplayAndItsLineup();
    void checkReplayLineup() const;
    // The fighters and the stage of the match, by name and fingerprint.
    Lineup lineup() const;
    ReplayMode replayMode() const;
    void exportReplay();
    void logMatchEnd();
    std::string title() const;
    MatchRules matchRules() const;
    // The result of a decided versus match, to Ogre.log and stdout.
    void reportResult(const RoundState& round);

    std::string resourceDir;
    std::string moduleDir;
    std::string logPath;
    Options options;
    // Read and checked before the engine starts, so a bad file ends the program at once.
    std::unique_ptr<Replay> replay;
    // Opened before the engine starts when a replay is exported.
    std::unique_ptr<ExportModule> exportModule;
    // The game keeps its window hidden until the keyboard listens to it; engine-backed tests
    // need it shown from the start.
    bool windowHiddenUntilInput = false;
    // Our own connection to the X display, held for the whole run (see openDisplay).
    _XDisplay* display = nullptr;
    // The media check and the sounds, read with the engine's start on a thread of their own.
    std::unique_ptr<StartupFiles> startupFiles;
    // Before the log manager: it outlives the log it listens to.
    std::unique_ptr<LogAppender> logAppender;
    std::unique_ptr<Ogre::LogManager> logManager;
    std::unique_ptr<Ogre::Root> root;
    std::unique_ptr<Ogre::OverlaySystem> overlaySystem;
    // The images the media check decoded, handed to the engine in place of its own decoding.
    std::unique_ptr<DecodedImageCodec> imageCodec;
    Ogre::SceneManager* sceneManager = nullptr;
    Ogre::Camera* camera = nullptr;
    Ogre::RenderWindow* window = nullptr;
    std::array<std::shared_ptr<const CharacterData>, 2> fighters;
    std::array<std::string, 2> fighterFolders;
    StageData stage;
    // How far the camera stands back from the dojo's place: the stage's walls where its view
    // ends.
    float cameraScale() const;
    std::unique_ptr<SpriteManager> spriteManager;
    std::unique_ptr<Game> game;
    std::unique_ptr<Match> match;
    // Draws the match before each picture of the window.
    std::unique_ptr<MatchView> matchView;
    std::unique_ptr<Backdrop> backdrop;
    std::unique_ptr<MatchDriver> driver;
    // Outlives the driver, which tells it of every step.
    std::unique_ptr<SoundPresenter> sound;
    // The driver's recorder, when the match is recorded, and the line that tells of its failure.
    ReplayRecorder* recorder = nullptr;
    std::unique_ptr<ConnectionDisplay> recordingNotice;
    std::unique_ptr<FixedFrameUpdater> updater;
    std::unique_ptr<WindowCloseWatcher> closeWatcher;
    std::unique_ptr<FocusWatcher> focusWatcher;
    std::unique_ptr<SignalWatcher> signalWatcher;
    // The frame loop's last second, and the overlay that shows it, made at the first F12.
    std::unique_ptr<FrameStats> frameStats;
    std::unique_ptr<TimingOverlay> timingOverlay;
    // The online drivers' connection, for the overlay; empty in the other modes.
    std::function<ConnectionFigures()> connectionFigures;
    std::function<void(const FramePass&)> frameObserver;
    DriverWrap driverWrap;
    // The mouse, for the menus, from their first step.
    std::unique_ptr<PointerWatcher> pointerWatcher;
    std::vector<std::string> notesBeforeLog;
    bool engineFrameTimer = false;
    int resultsReported = 0;
};
