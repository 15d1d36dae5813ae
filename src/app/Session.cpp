#include "app/Session.h"

#include <chrono>
#include <cstdlib>

#include <Ogre.h>
#include <OgreOverlaySystem.h>
#include <X11/Xlib.h>

#include "app/DecodedImageCodec.h"
#include "app/DeviceModule.h"
#include "app/DuplicateMaterialCheck.h"
#include "app/FixedFrameUpdater.h"
#include "app/FocusWatcher.h"
#include "app/FrameLoop.h"
#include "app/FrameStats.h"
#include "app/PointerWatcher.h"
#include "app/Scene.h"
#include "app/SignalWatcher.h"
#include "app/StartupFiles.h"
#include "app/WindowCloseWatcher.h"
#include "controllers/ControllerInput.h"
#include "input/InputSystem.h"
#include "render/TimingOverlay.h"
#include "sound/AudioOutput.h"
#include "sound/SampleBank.h"
#include "sound/SoundPresenter.h"

namespace {

const unsigned int windowWidth = 800;
const unsigned int windowHeight = 600;
const char* const pluginNames[] = {"RenderSystem_GL", "Plugin_OctreeSceneManager", "Codec_STBI"};
// The engine only logs a material script that fails to compile; without these the game would
// run with blank sprites, so their absence ends start-up with a clear report instead.
const char* const requiredMaterials[] = {"Sprite",       "OverlaySprite", "Ground",   "RedOverlay",
                                         "GreenOverlay", "PlayerOne",     "PlayerTwo"};

// A unit square in the plane z = 0 facing +z, as one triangle strip 0, 1, 3, 2.
struct QuadVertex {
    Ogre::Vector3 position;
    Ogre::Vector2 uv;
};

// Origin at the bottom centre: the sprite quad, standing on the fighter's position.
const QuadVertex bottomCenterQuad[4] = {
    {{-0.5f, 0, 0}, {0, 1}}, {{0.5f, 0, 0}, {1, 1}}, {{0.5f, 1, 0}, {1, 0}}, {{-0.5f, 1, 0}, {0, 0}}};
// Origin at the top-left corner: the box overlay quad, scaled to a box from its left-top.
const QuadVertex topLeftQuad[4] = {
    {{0, -1, 0}, {0, 1}}, {{1, -1, 0}, {1, 1}}, {{1, 0, 0}, {1, 0}}, {{0, 0, 0}, {0, 0}}};

void emitQuad(Ogre::ManualObject* object, const char* material, const QuadVertex (&quad)[4]) {
    object->begin(material, Ogre::RenderOperation::OT_TRIANGLE_STRIP);
    for (const QuadVertex& vertex : quad) {
        object->position(vertex.position);
        object->textureCoord(vertex.uv);
    }
    for (Ogre::uint32 index : {0, 1, 3, 2})
        object->index(index);
    object->end();
}

void cloneWithMaterial(const Ogre::MeshPtr& mesh, const char* cloneName, const char* material) {
    mesh->clone(cloneName)->getSubMesh(0)->setMaterialName(material);
}

} // namespace

Session::Session(GameFiles files) : files(std::move(files)) {}

// A destructor must not throw; the owners tear down through shutdown and report.
Session::~Session() {
    try {
        teardown();
    } catch (...) {
    }
}

void Session::shutdown() { teardown(); }

void Session::startEngine(const Start& start) {
    started = start;
    openDisplay();
    // The log goes to its file only: a player who starts the game from a shell sees only
    // what matters.
    logManager = std::make_unique<Ogre::LogManager>();
    logManager->createLog(files.log, true, false, false);
    for (const std::string& note : notesBeforeLog)
        logManager->logMessage(note);
    notesBeforeLog.clear();
    root = std::make_unique<Ogre::Root>("", "", files.log);
    loadPlugins();
    // Read beside the engine once its plug-ins are loaded: the libraries' loading, on the
    // engine's thread, is slowed by any other thread of the program that touches memory.
    startupFiles = std::make_unique<StartupFiles>(files.resources, start.imageFolders,
                                                  start.hearsSound && !start.sound.mute);

    const Ogre::RenderSystemList& renderers = root->getAvailableRenderers();
    if (renderers.empty())
        OGRE_EXCEPT(Ogre::Exception::ERR_RENDERINGAPI_ERROR, "No render system is available",
                    "Session::startEngine");
    root->setRenderSystem(renderers.front());
    root->initialise(false);
    overlaySystem = std::make_unique<Ogre::OverlaySystem>();
    // The keyboard only hears the window once the input system exists, at the end of
    // start-up: until then a key pressed on a window already shown would be lost.
    Ogre::NameValuePairList hidden;
    if (start.hiddenUntilInput)
        hidden["hidden"] = "true";
    hidden["vsync"] = start.vsync ? "true" : "false";
    window = root->createRenderWindow(start.title, windowWidth, windowHeight, false, &hidden);

    sceneManager = root->createSceneManager("OctreeSceneManager");
    sceneManager->addRenderQueueListener(overlaySystem.get());

    imageCodec = std::make_unique<DecodedImageCodec>(startupFiles->requireMedia());
    Ogre::ResourceGroupManager& resources = Ogre::ResourceGroupManager::getSingleton();
    resources.addResourceLocation(files.resources + "/media", "FileSystem", "General", false);
    {
        const DuplicateMaterialCheck duplicates(files.resources + "/media");
        resources.initialiseAllResourceGroups();
    }
    requireMaterials();

    createMeshes();
}

void Session::requireMaterials() {
    for (const char* name : requiredMaterials) {
        if (!Ogre::MaterialManager::getSingleton().getByName(name))
            OGRE_EXCEPT(Ogre::Exception::ERR_ITEM_NOT_FOUND,
                        std::string("Material '") + name + "' is not defined in " +
                            files.resources + "/media (a missing folder or a material script " +
                            "that failed: see " + files.log + ")",
                        "Application::startEngine");
    }
}

// The GL render system dereferences a display it could not open; a clear report is better.
// The window's close request is matched against the WM_DELETE_WINDOW atom, which the render
// system only looks up if it already exists: on a display without a window manager (a virtual
// one) nobody has made it yet, so make it here, before the render system looks.
void Session::openDisplay() {
    display = XOpenDisplay(nullptr);
    if (!display) {
        const char* name = std::getenv("DISPLAY");
        OGRE_EXCEPT(Ogre::Exception::ERR_RENDERINGAPI_ERROR,
                    std::string("Cannot open the X display '") + (name ? name : "") +
                        "': the game needs a graphical display (is DISPLAY set?)",
                    "Application::startEngine");
    }
    XInternAtom(display, "WM_DELETE_WINDOW", False);
}

void Session::loadPlugins() {
    for (const char* name : pluginNames)
        root->loadPlugin(std::string(VORRAK_PLUGIN_DIR) + "/" + name);
}

void Session::createMeshes() {
    Ogre::ManualObject* object = sceneManager->createManualObject("manualObj");

    emitQuad(object, "Sprite", bottomCenterQuad);
    Ogre::MeshPtr spriteQuad = object->convertToMesh("QuadBottomCenter.mesh");
    cloneWithMaterial(spriteQuad, "PlayerOne.mesh", "PlayerOne");
    cloneWithMaterial(spriteQuad, "PlayerTwo.mesh", "PlayerTwo");

    object->clear();
    emitQuad(object, "OverlaySprite", topLeftQuad);
    Ogre::MeshPtr overlayQuad = object->convertToMesh("QuadTopLeft.mesh");
    cloneWithMaterial(overlayQuad, "RedOverlay.mesh", "RedOverlay");
    cloneWithMaterial(overlayQuad, "GreenOverlay.mesh", "GreenOverlay");

    sceneManager->destroyManualObject(object);
}

// The scene is lit evenly: the sprites show their own colours.
void Session::createCamera() {
    if (camera)
        return;
    sceneManager->setAmbientLight(Ogre::ColourValue(1, 1, 1, 1));
    camera = sceneManager->createCamera("Main Camera");
    sceneManager->getRootSceneNode()->createChildSceneNode()->attachObject(camera);
    camera->setNearClipDistance(0.1f);
    window->addViewport(camera, 0, 0, 0, 1, 1);
    window->setActive(true);
}

void Session::listen(Scene& scene) {
    if (scenes.current() != &scene)
        scenes.begin(scene);
    createListeners();
}

void Session::createListeners() {
    if (updater)
        return;
    updater = std::make_unique<FixedFrameUpdater>(window, scenes, started.bindings);
    frameStats = std::make_unique<FrameStats>();
    root->addFrameListener(updater.get());
    focusWatcher = std::make_unique<FocusWatcher>(display, windowId(), updater->inputSystem());
    root->addFrameListener(focusWatcher.get());
    window->setHidden(false);
    closeWatcher = std::make_unique<WindowCloseWatcher>(window);
    root->addFrameListener(closeWatcher.get());
    // The time a change of scene took is not caught up by the next scene.
    scenes.onSwitch([this] { updater->dropElapsedTime(); });
    root->addFrameListener(&scenes);
}

void Session::watchSignals(bool inLoop) {
    signalWatcher = std::make_unique<SignalWatcher>();
    if (inLoop)
        root->addFrameListener(signalWatcher.get());
}

Session::Ending Session::run(Scene& first) {
    listen(first);
    runFrameLoop();
    return {};
}

Session::Ending Session::run(std::unique_ptr<Scene> first, SceneSwitch::Director director,
                             SceneSwitch::Guard guard) {
    scenes.begin(std::move(first), std::move(director), std::move(guard));
    createListeners();
    runFrameLoop();
    return scenes.endLast();
}

void Session::runFrameLoop() {
    FrameLoop::Setup setup;
    setup.afterFirstPicture = [this] { openDevices(); };
    setup.beforePicture = [this] { presentTiming(); };
    setup.passed = [this](const FramePass& pass) {
        frameStats->add(pass);
        if (frameObserver)
            frameObserver(pass);
    };
    setup.engineTimer = engineFrameTimer;
    FrameLoop(*root, *updater, *focusWatcher, std::move(setup)).run();
}

void Session::observeFrames(std::function<void(const FramePass&)> observer, bool engineTimer) {
    frameObserver = std::move(observer);
    engineFrameTimer = engineTimer;
}

// The overlay's font and elements are made when it is first asked for, not at start-up.
void Session::presentTiming() {
    if (updater->takeOverlayToggle()) {
        if (!timingOverlay)
            timingOverlay = std::make_unique<TimingOverlay>();
        timingOverlay->toggle();
    }
    if (!timingOverlay || !timingOverlay->visible())
        return;
    const Scene* scene = scenes.current();
    timingOverlay->show(frameStats->figures(),
                        scene ? scene->connection() : std::optional<ConnectionFigures>());
}

// The sound and the game controllers, once the first picture is drawn: the player sees the
// match before SDL and its libraries are loaded, and both are ready for the first step. Once
// for the whole run, however many scenes follow.
void Session::openDevices() {
    if (sound)
        return;
    const DeviceModule::Log log = [this](const std::string& line) { logManager->logMessage(line); };
    const DeviceModule module(files.modules, log);
    sound = std::make_unique<SoundPresenter>(
        started.sound, startupFiles->takeSounds(), log,
        [&module](AudioSource& source, const DeviceModule::Log& deviceLog) {
            return module.openAudio(source, deviceLog);
        });
    scenes.presentTo(*sound);
    updater->attachControllers(module.openControllers(started.bindings, log));
}

MenuInput Session::menuInput() {
    if (!pointerWatcher)
        pointerWatcher = std::make_unique<PointerWatcher>(display, windowId());
    const InputSystem& input = updater->inputSystem();
    return MenuInput{input.keysDown(),      input.typedText(),
                     updater->padsHeld(),   updater->padButtons(),
                     pointerWatcher->poll(), std::chrono::steady_clock::now()};
}

void Session::rebind(const Bindings& bindings) {
    started.bindings = bindings;
    if (updater)
        updater->rebind(bindings);
}

void Session::noteInLog(const std::string& line) {
    if (logManager)
        logManager->logMessage(line);
    else
        notesBeforeLog.push_back(line);
}

void Session::logCritical(const std::string& line) {
    logManager->logMessage(line, Ogre::LML_CRITICAL);
}

void Session::setTitle(const std::string& title) {
    if (!window)
        return;
    XStoreName(display, windowId(), title.c_str());
    XFlush(display);
}

void Session::setVsync(bool on) {
    if (window && window->isVSyncEnabled() != on)
        window->setVSyncEnabled(on);
}

void Session::setVolume(int volume) {
    started.sound.volume = volume;
    if (sound)
        sound->setVolume(volume);
}

unsigned long Session::windowId() const {
    unsigned long handle = 0;
    if (window)
        window->getCustomAttribute("WINDOW", &handle);
    return handle;
}

// Reverse order of creation. Runs after a failed start-up too, so every step checks what
// exists. A scene still in place goes first.
void Session::teardown() {
    scenes.release();
    if (root) {
        root->removeFrameListener(&scenes);
        if (signalWatcher)
            root->removeFrameListener(signalWatcher.get());
        if (closeWatcher)
            root->removeFrameListener(closeWatcher.get());
        if (focusWatcher)
            root->removeFrameListener(focusWatcher.get());
        if (updater)
            root->removeFrameListener(updater.get());
    }
    closeWatcher.reset();
    focusWatcher.reset();
    pointerWatcher.reset();
    updater.reset();
    sound.reset();
    startupFiles.reset();
    timingOverlay.reset();
    if (sceneManager && overlaySystem)
        sceneManager->removeRenderQueueListener(overlaySystem.get());
    if (root && sceneManager)
        root->destroySceneManager(sceneManager);
    sceneManager = nullptr;
    camera = nullptr;
    window = nullptr;
    overlaySystem.reset();
    imageCodec.reset();
    root.reset();
    logManager.reset();
    if (display)
        XCloseDisplay(display);
    display = nullptr;
    signalWatcher.reset();
}
