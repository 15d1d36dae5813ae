#include "app/Application.h"

#include <cstdlib>
#include <exception>
#include <iomanip>
#include <iostream>
#include <sstream>

#include <Ogre.h>
#include <OgreOverlaySystem.h>
#include <X11/Xlib.h>

#include "anim/CharacterData.h"
#include "app/CpuDriver.h"
#include "app/DecodedImageCodec.h"
#include "app/DeviceModule.h"
#include "app/DuplicateMaterialCheck.h"
#include "app/FixedFrameUpdater.h"
#include "app/FocusWatcher.h"
#include "app/FrameLoop.h"
#include "app/FrameStats.h"
#include "app/LocalPlay.h"
#include "app/LogAppender.h"
#include "app/NetPlay.h"
#include "app/PointerWatcher.h"
#include "app/ReplayExport.h"
#include "app/ResourceFileCheck.h"
#include "app/SignalWatcher.h"
#include "app/SpectatorPlay.h"
#include "app/StartupFiles.h"
#include "app/WindowCloseWatcher.h"
#include "controllers/ControllerInput.h"
#include "cpu/Arena.h"
#include "export/ExportModule.h"
#include "export/VideoTarget.h"
#include "fighter/Player.h"
#include "input/InputSystem.h"
#include "match/Game.h"
#include "match/Match.h"
#include "match/Stage.h"
#include "match/SyncTest.h"
#include "match/checksum.h"
#include "match/frameDataTable.h"
#include "render/ConnectionDisplay.h"
#include "render/MatchView.h"
#include "render/SpriteManager.h"
#include "render/TimingOverlay.h"
#include "render/roundCaptions.h"
#include "replay/ReplayError.h"
#include "replay/ReplayPlayback.h"
#include "replay/ReplayReader.h"
#include "replay/ReplayRecorder.h"
#include "replay/characterDataHash.h"
#include "roster/Roster.h"
#include "sound/AudioOutput.h"
#include "sound/SampleBank.h"
#include "sound/SoundPresenter.h"
#include "training/TrainingPlay.h"

namespace {

const char* const windowTitle = "Vorrak projekt";
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

Application::Application(GameFiles files, Options options)
    : resourceDir(std::move(files.resources)), moduleDir(std::move(files.modules)),
      logPath(std::move(files.log)), options(std::move(options)) {}

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
    if (!options.replayPath.empty())
        readReplayAndItsLineup();
    loadRoster();
    if (replay)
        checkReplayLineup();
    if (options.frameData)
        return printFrameData();
    if (options.cpu.arena) {
        Arena::Settings arena = options.cpu.arenaSettings;
        arena.fighterOfA = fighters[0];
        arena.fighterOfB = fighters[1];
        arena.walls = stage.width / 2;
        return Arena(arena).run(std::cout);
    }
    if (!options.exportSettings.path.empty()) {
        ReplayExport::checkCut(options.exportSettings, *replay);
        VideoTarget::check(options.exportSettings.path);
        exportModule = std::make_unique<ExportModule>(moduleDir, options.exportSettings.path);
    }
    windowHiddenUntilInput = true;
    startEngine();
    // From here on a signal ends the game in order, at the next frame; before, there is
    // nothing to finish and a start-up that is stuck must still end at once.
    if (!options.exportSettings.path.empty()) {
        signalWatcher = std::make_unique<SignalWatcher>();
        return exportReplay();
    }
    createMatch();
    signalWatcher = std::make_unique<SignalWatcher>();
    root->addFrameListener(signalWatcher.get());
    runFrameLoop();
}

void Application::runFrameLoop() {
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

void Application::observeFrames(std::function<void(const FramePass&)> observer,
                                bool engineTimer) {
    frameObserver = std::move(observer);
    engineFrameTimer = engineTimer;
}

// The overlay's font and elements are made when it is first asked for, not at start-up.
void Application::presentTiming() {
    if (updater->takeOverlayToggle()) {
        if (!timingOverlay)
            timingOverlay = std::make_unique<TimingOverlay>();
        timingOverlay->toggle();
    }
    if (!timingOverlay || !timingOverlay->visible())
        return;
    std::optional<ConnectionFigures> connection;
    if (connectionFigures)
        connection = connectionFigures();
    timingOverlay->show(frameStats->figures(), connection);
}

void Application::shutdown() { teardown(); }

MenuInput Application::menuInput() {
    if (!pointerWatcher) {
        unsigned long handle = 0;
        window->getCustomAttribute("WINDOW", &handle);
        pointerWatcher = std::make_unique<PointerWatcher>(display, handle);
    }
    const InputSystem& input = updater->inputSystem();
    return MenuInput{input.keysDown(), input.typedText(), updater->padsHeld(),
                     updater->padButtons(), pointerWatcher->poll()};
}

void Application::rebind(const Bindings& bindings) { updater->rebind(bindings); }

void Application::noteInLog(const std::string& line) {
    if (logManager)
        logManager->logMessage(line);
    else
        notesBeforeLog.push_back(line);
}

// A replay plays with the fighters and the stage it names, whatever the command line says;
// before format 5 with the default ones. One this game lacks refuses it, naming it.
void Application::readReplayAndItsLineup() {
    replay = std::make_unique<Replay>(readReplay(options.replayPath));
    const Roster roster(resourceDir + "/media");
    const Lineup& named = replay->lineup;
    for (int side = 0; side < 2; ++side)
        if (roster.holdsFighter(named.fighters[side]) == Roster::Holding::Missing)
            throw ReplayError("Cannot play back '" + replay->source + "': it names the fighter '" +
                              named.fighters[side].name + "', which this Vorrak does not have");
    if (roster.holdsStage(named.stage) == Roster::Holding::Missing)
        throw ReplayError("Cannot play back '" + replay->source + "': it names the stage '" +
                          named.stage.name + "', which this Vorrak does not have");
    options.fighters = {named.fighters[0].name, named.fighters[1].name};
    options.stage = named.stage.name;
}

// The files loaded are the ones recorded: the same fingerprints, or before format 5 the
// default fighter's character data as it was.
void Application::checkReplayLineup() const {
    requireLineup(*replay, lineup());
    requireCharacterData(*replay, characterDataHash(*fighters[0]));
}

Lineup Application::lineup() const {
    Lineup played;
    for (std::size_t side = 0; side < 2; ++side)
        played.fighters[side] = {fighters[side]->name, fighters[side]->fingerprint};
    played.stage = {stage.name, stage.fingerprint};
    return played;
}

// How the options play the match, for its recording.
ReplayMode Application::replayMode() const {
    ReplayMode mode;
    if (!options.watchHost.empty())
        mode.kind = ReplayMode::Watched;
    else if (options.host || !options.joinHost.empty())
        mode.kind = ReplayMode::Online;
    else if (options.cpu.level > 0) {
        mode.kind = ReplayMode::Computer;
        mode.cpuLevel = options.cpu.level;
        mode.cpuSide = options.cpu.player - 1;
    } else
        mode.kind = options.versus ? ReplayMode::Versus : ReplayMode::OpenFight;
    return mode;
}

// Before the engine starts: a fighter or a stage that cannot be played ends the program before a
// window opens.
void Application::loadRoster() {
    if (fighters[0])
        return;
    const Roster roster(resourceDir + "/media");
    for (std::size_t side = 0; side < 2; ++side) {
        const std::string& name = options.fighters[side];
        fighterFolders[side] = roster.fighterFolder(name);
        fighters[side] =
            side == 1 && name == options.fighters[0] ? fighters[0] : roster.loadFighter(name);
    }
    stage = roster.loadStage(options.stage);
}

void Application::startEngine() {
    loadRoster();
    openDisplay();
    // The log goes to its file only: a player who starts the game from a shell sees only
    // what matters.
    logManager = std::make_unique<Ogre::LogManager>();
    Ogre::Log* log = logManager->createLog(logPath, true, false, options.continueLog);
    if (options.continueLog) {
        logAppender = std::make_unique<LogAppender>(logPath);
        log->addListener(logAppender.get());
    }
    for (const std::string& note : notesBeforeLog)
        logManager->logMessage(note);
    notesBeforeLog.clear();
    root = std::make_unique<Ogre::Root>("", "", logPath);
    loadPlugins();
    // Read beside the engine once its plug-ins are loaded: the libraries' loading, on the
    // engine's thread, is slowed by any other thread of the program that touches memory.
    // The frame-data table and the export play no match: they hear no sound.
    const bool hearsSound =
        !options.frameData && options.exportSettings.path.empty() && !options.sound.mute;
    std::vector<std::string> imageFolders = {fighterFolders[0]};
    if (fighterFolders[1] != fighterFolders[0])
        imageFolders.push_back(fighterFolders[1]);
    startupFiles = std::make_unique<StartupFiles>(resourceDir, imageFolders, hearsSound);

    const Ogre::RenderSystemList& renderers = root->getAvailableRenderers();
    if (renderers.empty())
        OGRE_EXCEPT(Ogre::Exception::ERR_RENDERINGAPI_ERROR, "No render system is available",
                    "Application::startEngine");
    root->setRenderSystem(renderers.front());
    root->initialise(false);
    overlaySystem = std::make_unique<Ogre::OverlaySystem>();
    // The keyboard only hears the window once the input system exists, at the end of
    // start-up: until then a key pressed on a window already shown would be lost.
    Ogre::NameValuePairList hidden;
    if (windowHiddenUntilInput)
        hidden["hidden"] = "true";
    hidden["vsync"] = options.vsync ? "true" : "false";
    window = root->createRenderWindow(title(), windowWidth, windowHeight, false, &hidden);

    sceneManager = root->createSceneManager("OctreeSceneManager");
    sceneManager->addRenderQueueListener(overlaySystem.get());

    imageCodec = std::make_unique<DecodedImageCodec>(startupFiles->requireMedia());
    Ogre::ResourceGroupManager& resources = Ogre::ResourceGroupManager::getSingleton();
    resources.addResourceLocation(resourceDir + "/media", "FileSystem", "General", false);
    {
        const DuplicateMaterialCheck duplicates(resourceDir + "/media");
        resources.initialiseAllResourceGroups();
    }
    requireMaterials();

    createMeshes();
}

void Application::requireMaterials() {
    for (const char* name : requiredMaterials) {
        if (!Ogre::MaterialManager::getSingleton().getByName(name))
            OGRE_EXCEPT(Ogre::Exception::ERR_ITEM_NOT_FOUND,
                        std::string("Material '") + name + "' is not defined in " + resourceDir +
                            "/media (a missing folder or a material script that failed: see " +
                            logPath + ")",
                        "Application::startEngine");
    }
}

// The GL render system dereferences a display it could not open; a clear report is better.
// The window's close request is matched against the WM_DELETE_WINDOW atom, which the render
// system only looks up if it already exists: on a display without a window manager (a virtual
// one) nobody has made it yet, so make it here, before the render system looks.
void Application::openDisplay() {
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

void Application::loadPlugins() {
    for (const char* name : pluginNames)
        root->loadPlugin(std::string(VORRAK_PLUGIN_DIR) + "/" + name);
}

void Application::createMeshes() {
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

void Application::createMatch() {
    createGame();
    match = std::make_unique<Match>(*game);
    match->start(matchRules());
    createScene();
    matchView = std::make_unique<MatchView>(sceneManager, *spriteManager, *match);
    window->addListener(matchView.get());
    driver = createDriver();
    if (options.cpu.level > 0)
        driver = std::make_unique<CpuDriver>(std::move(driver), *match, options.cpu);
    if (driverWrap)
        driver = driverWrap(std::move(driver));
    createFrameListener();
}

// Every sprite's image now, so no move waits for its pictures in the middle of a fight.
void Application::createGame() {
    spriteManager = std::make_unique<SpriteManager>();
    for (std::size_t side = 0; side < 2; ++side)
        spriteManager->addFighter(*fighters[side], fighterFolders[side]);
    game = std::make_unique<Game>(fighters[0], fighters[1]);
    game->walls = stage.width / 2;
}

// Online play names the side and the other player.
std::string Application::title() const {
    if (!options.watchHost.empty())
        return SpectatorPlay::title(options.watchHost, static_cast<std::uint16_t>(options.port));
    if (!options.host && options.joinHost.empty())
        return windowTitle;
    return NetPlay::title(options.host, options.joinHost, static_cast<std::uint16_t>(options.port));
}

// A replay plays by the rules it was recorded with.
MatchRules Application::matchRules() const {
    if (replay)
        return replay->rules;
    MatchRules rules;
    rules.versus = options.versus;
    rules.rounds = options.rounds;
    return rules;
}

// Once per match, however often a rollback runs its last step again.
void Application::reportResult(const RoundState& round) {
    if (round.matchesPlayed <= resultsReported)
        return;
    resultsReported = round.matchesPlayed;
    const std::string line = "vorrak: " + resultLine(round);
    logManager->logMessage(line);
    std::cout << line << std::endl;
}

// The mode the options ask for: online play, watching it, or one of the local ones.
std::unique_ptr<MatchDriver> Application::createDriver() {
    if (options.host || !options.joinHost.empty())
        return createOnlineDriver();
    // Online only the confirmed match names a winner; everywhere else every step is confirmed.
    match->onMatchEnd = [this](const RoundState& round) { reportResult(round); };
    if (!options.watchHost.empty())
        return createSpectatorDriver();
    return createLocalDriver();
}

std::unique_ptr<MatchDriver> Application::createOnlineDriver() {
    NetPlay::Setup setup;
    setup.host = options.host;
    setup.hostName = options.joinHost;
    setup.port = static_cast<std::uint16_t>(options.port);
    setup.inputDelay = options.inputDelay;
    setup.joinTimeout = options.joinTimeout;
    setup.silenceLimit = options.silenceLimit;
    const Lineup chosen = lineup();
    setup.fighter = chosen.fighters[options.host ? 0 : 1];
    setup.stage = chosen.stage;
    setup.mediaFolder = resourceDir + "/media";
    setup.cast = [this](const Lineup& cast) { castMatch(cast); };
    setup.setTitle = [this](const std::string& title) {
        unsigned long handle = 0;
        window->getCustomAttribute("WINDOW", &handle);
        XStoreName(display, handle, title.c_str());
        XFlush(display);
    };
    setup.rules = matchRules();
    setup.onMatchEnd = [this](const RoundState& round) { reportResult(round); };
    setup.spectators = options.host ? options.spectators : 0;
    setup.rendezvous = options.rendezvous;
    if (!options.recordPath.empty())
        setup.makeRecorder = [this] { return createRecorder(); };
    auto created = std::make_unique<NetPlay>(*match, std::move(setup));
    connectionFigures = [play = created.get()] { return play->connection(); };
    return created;
}

// The sync test, the lab, a replay, or the plain game, recorded or not.
std::unique_ptr<MatchDriver> Application::createLocalDriver() {
    if (options.syncTestSteps > 0)
        return std::make_unique<SyncTest>(*match, options.syncTestSteps);
    if (options.training)
        return std::make_unique<TrainingPlay>(*match, *game, *matchView, std::move(replay));
    if (replay)
        return std::make_unique<ReplayPlayback>(*match, std::move(*replay));
    if (!options.recordPath.empty())
        return std::make_unique<LocalPlay>(*match, createRecorder());
    return std::make_unique<LocalPlay>(*match);
}

// The sound and the game controllers, once the first picture is drawn: the player sees the
// match before SDL and its libraries are loaded, and both are ready for the first step.
void Application::openDevices() {
    const DeviceModule::Log log = [this](const std::string& line) { logManager->logMessage(line); };
    const DeviceModule module(moduleDir, log);
    sound = std::make_unique<SoundPresenter>(
        options.sound, startupFiles->takeSounds(), log,
        [&module](AudioSource& source, const DeviceModule::Log& deviceLog) {
            return module.openAudio(source, deviceLog);
        });
    driver->presentTo(*sound);
    updater->attachControllers(module.openControllers(options.bindings, log));
}

// A write that fails shows on the screen and in the log at once; the match plays on.
std::unique_ptr<ReplayRecorder>
Application::createRecorder(const MatchRules* rules, const MatchState* start, int firstStep) {
    auto created =
        std::make_unique<ReplayRecorder>(options.recordPath, lineup(), replayMode(),
                                         rules ? *rules : matchRules(), start, firstStep);
    created->onWriteFailure = [this](const std::string& line) {
        logManager->logMessage(line, Ogre::LML_CRITICAL);
        recordingNotice = std::make_unique<ConnectionDisplay>(1);
        recordingNotice->show(line);
    };
    recorder = created.get();
    return created;
}

// The moves of the second player's fighter, measured against the first player's on the match's
// own rules and data, which need no engine.
void Application::printFrameData() {
    Game measured(fighters[1], fighters[0]);
    std::cout << measureFrameData(measured) << std::flush;
}

// The match as for a replay, drawn off the screen step by step; the window stays hidden and no
// render loop runs, so nothing depends on the speed of drawing.
void Application::exportReplay() {
    createGame();
    match = std::make_unique<Match>(*game);
    match->start(matchRules());
    createScene();
    matchView = std::make_unique<MatchView>(sceneManager, *spriteManager, *match);
    ReplayExport(*match, *game, *matchView, camera, *exportModule, options.exportSettings,
                 options.sound, resourceDir + "/media/sounds")
        .run(*replay);
}

// The last state of every match in the log, so a recording and its replay can be compared.
void Application::logMatchEnd() {
    if (!match || !logManager)
        return;
    std::ostringstream line;
    line << "Match ended: checksum " << std::hex << std::setw(16) << std::setfill('0')
         << checksum(match->save()) << std::dec << ", health " << game->player1->state.health
         << " / " << game->player2->state.health;
    logManager->logMessage(line.str());
}

void Application::createScene() {
    sceneManager->setAmbientLight(Ogre::ColourValue(1, 1, 1, 1));
    createGround();

    camera = sceneManager->createCamera("Main Camera");
    sceneManager->getRootSceneNode()->createChildSceneNode()->attachObject(camera);
    placeCamera();
    camera->setNearClipDistance(0.1f);

    window->addViewport(camera, 0, 0, 0, 1, 1);
    window->setActive(true);
}

// The dojo's view from (0, 80, 300), drawn back about the point looked at for a wider stage.
void Application::placeCamera() {
    const float scale = cameraScale();
    Ogre::SceneNode* node = camera->getParentSceneNode();
    node->setPosition(0, 60 + 20 * scale, 300 * scale);
    node->lookAt(Ogre::Vector3(0, 60, 0), Ogre::Node::TS_WORLD);
    camera->setFarClipDistance(1000 * scale);
}

// Online play and watching learn the match's fighters and stage once the match exists: those
// not here yet are loaded, their folders checked as at start-up, and put in place; the match
// starts afresh with them.
void Application::castMatch(const Lineup& cast) {
    const Roster roster(resourceDir + "/media");
    for (std::size_t side = 0; side < 2; ++side) {
        const Lineup::Entry& wanted = cast.fighters[side];
        if (fighters[side]->name == wanted.name &&
            fighters[side]->fingerprint == wanted.fingerprint)
            continue;
        fighterFolders[side] = roster.fighterFolder(wanted.name);
        ResourceFileCheck::requireMediaFolder(fighterFolders[side]);
        const auto& other = fighters[1 - side];
        fighters[side] = other->name == wanted.name && other->fingerprint == wanted.fingerprint
                             ? other
                             : roster.loadFighter(wanted.name);
        spriteManager->addFighter(*fighters[side], fighterFolders[side]);
        game->cast(static_cast<int>(side), fighters[side]);
    }
    if (stage.name != cast.stage.name || stage.fingerprint != cast.stage.fingerprint) {
        stage = roster.loadStage(cast.stage.name);
        game->walls = stage.width / 2;
        placeCamera();
        createGround();
    }
    match->start(matchRules());
    logManager->logMessage("The match: " + fighters[0]->name + " against " + fighters[1]->name +
                           " on " + stage.name);
}

float Application::cameraScale() const {
    return stage.width / 2 / Stage::halfWidth;
}

// The floor's material is the dojo's "Ground" showing the stage's own floor image; a floor
// already there (another stage's) goes first.
void Application::createGround() {
    if (sceneManager->hasEntity("GroundPlane")) {
        Ogre::Entity* old = sceneManager->getEntity("GroundPlane");
        Ogre::SceneNode* node = old->getParentSceneNode();
        sceneManager->destroyEntity(old);
        sceneManager->destroySceneNode(node);
        Ogre::MeshManager::getSingleton().remove(
            "GroundPlane", Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME);
    }
    const Ogre::Plane ground(Ogre::Vector3::UNIT_Y, 0);
    const float size = 500 * cameraScale();
    Ogre::MeshManager::getSingleton().createPlane(
        "GroundPlane", Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME, ground, size, size,
        100, 100, true, 1, 10 * cameraScale(), 10 * cameraScale(), Ogre::Vector3::UNIT_Z);

    Ogre::Entity* entity = sceneManager->createEntity("GroundPlane", "GroundPlane");
    Ogre::MaterialManager& materials = Ogre::MaterialManager::getSingleton();
    Ogre::MaterialPtr floor = materials.getByName("Ground");
    const std::string own = "Stage/" + stage.name;
    if (stage.floor != "Ground.png" && !materials.getByName(own)) {
        floor = floor->clone(own);
        floor->getTechnique(0)->getPass(0)->getTextureUnitState(0)->setTextureName(stage.floor);
    } else if (stage.floor != "Ground.png") {
        floor = materials.getByName(own);
    }
    entity->setMaterial(floor);
    entity->setCastShadows(false);
    sceneManager->getRootSceneNode()
        ->createChildSceneNode(Ogre::Vector3::ZERO, Ogre::Quaternion::IDENTITY)
        ->attachObject(entity);
}

void Application::createFrameListener() {
    updater = std::make_unique<FixedFrameUpdater>(window, *driver, options.bindings);
    frameStats = std::make_unique<FrameStats>();
    root->addFrameListener(updater.get());
    unsigned long handle = 0;
    window->getCustomAttribute("WINDOW", &handle);
    focusWatcher = std::make_unique<FocusWatcher>(display, handle, updater->inputSystem());
    root->addFrameListener(focusWatcher.get());
    window->setHidden(false);
    closeWatcher = std::make_unique<WindowCloseWatcher>(window);
    root->addFrameListener(closeWatcher.get());
}

// Reverse order of creation. Runs after a failed start-up too, so every step checks what exists.
void Application::teardown() {
    if (driver)
        driver->finish();
    logMatchEnd();
    if (root) {
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
    // However the game ended, local or online, a recording that failed ends it with status 1
    // and says what was kept: thrown once the rest of the teardown is done. Without a driver
    // the recorder went with the driver that failed to start.
    std::exception_ptr recordingFailure;
    try {
        if (driver && recorder)
            recorder->finish();
    } catch (...) {
        recordingFailure = std::current_exception();
    }
    recorder = nullptr;
    connectionFigures = nullptr;
    driver.reset();
    sound.reset();
    startupFiles.reset();
    recordingNotice.reset();
    timingOverlay.reset();
    if (window && matchView)
        window->removeListener(matchView.get());
    matchView.reset();
    match.reset();
    game.reset();
    spriteManager.reset();
    if (sceneManager && overlaySystem)
        sceneManager->removeRenderQueueListener(overlaySystem.get());
    if (root && sceneManager)
        root->destroySceneManager(sceneManager);
    sceneManager = nullptr;
    overlaySystem.reset();
    imageCodec.reset();
    root.reset();
    logManager.reset();
    if (display)
        XCloseDisplay(display);
    display = nullptr;
    signalWatcher.reset();
    if (recordingFailure)
        std::rethrow_exception(recordingFailure);
}
