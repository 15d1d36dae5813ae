#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/GameFiles.h"
#include "app/SceneSwitch.h"
#include "input/Bindings.h"
#include "menu/MenuInput.h"
#include "sound/SoundSettings.h"

namespace Ogre {
class Root;
class SceneManager;
class Camera;
class RenderWindow;
class OverlaySystem;
class LogManager;
} // namespace Ogre
struct _XDisplay;
class DecodedImageCodec;
class FixedFrameUpdater;
class FocusWatcher;
class FrameStats;
struct FramePass;
class PointerWatcher;
class Scene;
class SignalWatcher;
class SoundPresenter;
class StartupFiles;
class TimingOverlay;
class WindowCloseWatcher;

// One run of the program on the screen: the engine with its fixed configuration, the one window
// and the log, the devices (keyboard, mouse, game controllers, sound) and the frame loop, all
// made once and kept until the program ends, while the scenes (the menus, a match, the lab, a
// replay, online play) come and go in the loop (SceneSwitch). Owned by the Application or, for
// the menus, by the FrontDoor; torn down in reverse order of creation, after the scenes.
class Session {
public:
    // What the window and the devices open with.
    struct Start {
        std::string title;
        bool vsync = true;
        // The game keeps its window hidden until the keyboard listens to it; engine-backed
        // tests need it shown from the start.
        bool hiddenUntilInput = false;
        // The first scene's fighters, whose images are decoded beside the engine's start.
        std::vector<std::string> imageFolders;
        // The frame-data table and the export play no match: they hear no sound.
        bool hearsSound = true;
        SoundSettings sound;
        Bindings bindings = Bindings::defaults();
    };
    using Ending = SceneSwitch::Ending;

    explicit Session(GameFiles files);
    ~Session();

    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // The display, the log, the engine, its window, the resources and the quad meshes.
    void startEngine(const Start& start);
    // The camera and the window's viewport, once; each scene places the camera on its stage.
    void createCamera();
    // The scene in place from now on; the logic clock, the keyboard's focus and the window's
    // close request as frame listeners, made once, which shows the window.
    void listen(Scene& scene);
    // From here on a signal ends the frame loop in order; before, a start-up that is stuck
    // still ends at once. inLoop: the loop hears it (the export runs without one).
    void watchSignals(bool inLoop);

    // The frame loop with the scene given in place, until the window's end, a signal, or the
    // scene's end with no scene to follow. The sound and the game controllers open after the
    // first picture. With a director, the scene in place when the loop ends is ended and
    // destroyed, and how it ended is returned.
    Ending run(Scene& first);
    Ending run(std::unique_ptr<Scene> first, SceneSwitch::Director director,
               SceneSwitch::Guard guard);
    // Every pass of the frame loop is told to the observer too (see FrameLoop::Setup).
    void observeFrames(std::function<void(const FramePass&)> observer, bool engineTimer = false);

    // What drives the menus this step: the keys and text sampled, both controllers and the
    // mouse. Only once the session listens.
    MenuInput menuInput();
    // A line for the engine's log, kept until the log exists when told before.
    void noteInLog(const std::string& line);
    void logCritical(const std::string& line);
    // The players' keys and buttons from now on.
    void rebind(const Bindings& bindings);
    void setTitle(const std::string& title);
    void setVsync(bool on);
    void setVolume(int volume);

    // The scene in place forgotten, ended and destroyed first when the session owns it.
    void release() { scenes.release(); }
    // The orderly teardown, in reverse order of creation; the destructor does it otherwise.
    void shutdown();

    Ogre::Root* getRoot() const { return root.get(); }
    Ogre::SceneManager* getSceneManager() const { return sceneManager; }
    Ogre::Camera* getCamera() const { return camera; }
    Ogre::RenderWindow* getWindow() const { return window; }
    const std::string& getResourceDir() const { return files.resources; }
    const GameFiles& getFiles() const { return files; }
    // The X window's id; 0 before the window exists.
    unsigned long windowId() const;

private:
    void createListeners();
    void openDisplay();
    void loadPlugins();
    void requireMaterials();
    void createMeshes();
    void runFrameLoop();
    void openDevices();
    // Before each picture: F12's toggle and the timing overlay's figures.
    void presentTiming();
    void teardown();

    GameFiles files;
    Start started;
    // Our own connection to the X display, held for the whole run (see openDisplay).
    _XDisplay* display = nullptr;
    // The media check and the sounds, read with the engine's start on a thread of their own.
    std::unique_ptr<StartupFiles> startupFiles;
    std::unique_ptr<Ogre::LogManager> logManager;
    std::unique_ptr<Ogre::Root> root;
    std::unique_ptr<Ogre::OverlaySystem> overlaySystem;
    // The images the media check decoded, handed to the engine in place of its own decoding.
    std::unique_ptr<DecodedImageCodec> imageCodec;
    Ogre::SceneManager* sceneManager = nullptr;
    Ogre::Camera* camera = nullptr;
    Ogre::RenderWindow* window = nullptr;
    SceneSwitch scenes;
    // Outlives every scene's driver, which tells it of every step.
    std::unique_ptr<SoundPresenter> sound;
    std::unique_ptr<FixedFrameUpdater> updater;
    std::unique_ptr<WindowCloseWatcher> closeWatcher;
    std::unique_ptr<FocusWatcher> focusWatcher;
    std::unique_ptr<SignalWatcher> signalWatcher;
    // The frame loop's last second, and the overlay that shows it, made at the first F12.
    std::unique_ptr<FrameStats> frameStats;
    std::unique_ptr<TimingOverlay> timingOverlay;
    std::function<void(const FramePass&)> frameObserver;
    // The mouse, for the menus, from their first step.
    std::unique_ptr<PointerWatcher> pointerWatcher;
    std::vector<std::string> notesBeforeLog;
    bool engineFrameTimer = false;
};
