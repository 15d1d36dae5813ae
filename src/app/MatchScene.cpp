#include "app/MatchScene.h"

#include <iomanip>
#include <iostream>
#include <sstream>

#include <Ogre.h>

#include "anim/CharacterData.h"
#include "app/CpuDriver.h"
#include "app/ReplayExport.h"
#include "app/ResourceFileCheck.h"
#include "app/Session.h"
#include "cpu/Arena.h"
#include "fighter/Player.h"
#include "match/Game.h"
#include "match/Match.h"
#include "match/MatchDriver.h"
#include "match/Stage.h"
#include "match/checksum.h"
#include "match/frameDataTable.h"
#include "render/ConnectionDisplay.h"
#include "render/MatchView.h"
#include "render/SpriteManager.h"
#include "render/roundCaptions.h"
#include "replay/ReplayError.h"
#include "replay/ReplayReader.h"
#include "replay/ReplayRecorder.h"
#include "replay/characterDataHash.h"
#include "roster/Roster.h"

namespace {

const char* const groundName = "GroundPlane";

} // namespace

MatchScene::MatchScene(Session& session, Options options)
    : session(session), options(std::move(options)) {}

// The driver first (it may hold the recorder and the connection), the view before the match it
// draws, the sprites last; the floor goes with the scene.
MatchScene::~MatchScene() {
    connectionFigures = nullptr;
    recorder = nullptr;
    matchDriver.reset();
    recordingNotice.reset();
    if (matchView && session.getWindow())
        session.getWindow()->removeListener(matchView.get());
    matchView.reset();
    match.reset();
    game.reset();
    spriteManager.reset();
    if (session.getSceneManager())
        destroyGround();
}

void MatchScene::prepare() {
    if (!options.replayPath.empty() && !replay)
        readReplayAndItsLineup();
    loadRoster();
    if (replay)
        checkReplayLineup();
}

std::vector<std::string> MatchScene::imageFolders() const {
    std::vector<std::string> folders = {fighterFolders[0]};
    if (fighterFolders[1] != fighterFolders[0])
        folders.push_back(fighterFolders[1]);
    return folders;
}

// A replay plays with the fighters and the stage it names, whatever the command line says;
// before format 5 with the default ones. One this game lacks refuses it, naming it.
void MatchScene::readReplayAndItsLineup() {
    replay = std::make_unique<Replay>(readReplay(options.replayPath));
    const Roster roster(session.getResourceDir() + "/media");
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
void MatchScene::checkReplayLineup() const {
    requireLineup(*replay, lineup());
    requireCharacterData(*replay, characterDataHash(*fighters[0]));
}

Lineup MatchScene::lineup() const {
    Lineup played;
    for (std::size_t side = 0; side < 2; ++side)
        played.fighters[side] = {fighters[side]->name, fighters[side]->fingerprint};
    played.stage = {stage.name, stage.fingerprint};
    return played;
}

// How the options play the match, for its recording.
ReplayMode MatchScene::replayMode() const {
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

// Once: a fighter or a stage that cannot be played ends the program before a window opens.
void MatchScene::loadRoster() {
    if (fighters[0])
        return;
    const Roster roster(session.getResourceDir() + "/media");
    for (std::size_t side = 0; side < 2; ++side) {
        const std::string& name = options.fighters[side];
        fighterFolders[side] = roster.fighterFolder(name);
        fighters[side] =
            side == 1 && name == options.fighters[0] ? fighters[0] : roster.loadFighter(name);
    }
    stage = roster.loadStage(options.stage);
}

void MatchScene::printFrameData() {
    Game measured(fighters[1], fighters[0]);
    std::cout << measureFrameData(measured) << std::flush;
}

void MatchScene::runArena() {
    Arena::Settings arena = options.cpu.arenaSettings;
    arena.fighterOfA = fighters[0];
    arena.fighterOfB = fighters[1];
    arena.walls = stage.width / 2;
    Arena(arena).run(std::cout);
}

void MatchScene::createMatch() {
    createGame();
    match = std::make_unique<Match>(*game);
    match->start(matchRules());
    createStage();
    matchView = std::make_unique<MatchView>(session.getSceneManager(), *spriteManager, *match);
    session.getWindow()->addListener(matchView.get());
    session.setTitle(title());
    matchDriver = createDriver();
    if (options.cpu.level > 0)
        matchDriver = std::make_unique<CpuDriver>(std::move(matchDriver), *match, options.cpu);
    if (driverWrap)
        matchDriver = driverWrap(std::move(matchDriver));
}

// Every sprite's image now, so no move waits for its pictures in the middle of a fight.
void MatchScene::createGame() {
    loadRoster();
    spriteManager = std::make_unique<SpriteManager>();
    for (std::size_t side = 0; side < 2; ++side)
        spriteManager->addFighter(*fighters[side], fighterFolders[side]);
    game = std::make_unique<Game>(fighters[0], fighters[1]);
    game->walls = stage.width / 2;
}

void MatchScene::createStage() {
    session.createCamera();
    placeCamera();
    createGround();
}

// A replay plays by the rules it was recorded with.
MatchRules MatchScene::matchRules() const {
    if (replay)
        return replay->rules;
    MatchRules rules;
    rules.versus = options.versus;
    rules.rounds = options.rounds;
    return rules;
}

// Once per match, however often a rollback runs its last step again.
void MatchScene::reportResult(const RoundState& round) {
    if (round.matchesPlayed <= resultsReported)
        return;
    resultsReported = round.matchesPlayed;
    const std::string line = "vorrak: " + resultLine(round);
    session.noteInLog(line);
    std::cout << line << std::endl;
}

// The match as for a replay, drawn off the screen step by step; the window stays hidden and no
// render loop runs, so nothing depends on the speed of drawing.
void MatchScene::exportReplay(ExportModule& module) {
    createGame();
    match = std::make_unique<Match>(*game);
    match->start(matchRules());
    createStage();
    matchView = std::make_unique<MatchView>(session.getSceneManager(), *spriteManager, *match);
    ReplayExport(*match, *game, *matchView, session.getCamera(), module, options.exportSettings,
                 options.sound, session.getResourceDir() + "/media/sounds")
        .run(*replay);
}

// However the match ended, local or online, a recording that failed ends it with status 1 and
// says what was kept: thrown once the match is logged. Without a driver the recorder went with
// the driver that failed to start.
void MatchScene::end() {
    if (ended)
        return;
    ended = true;
    if (matchDriver)
        matchDriver->finish();
    logMatchEnd();
    ReplayRecorder* const finishing = matchDriver ? recorder : nullptr;
    recorder = nullptr;
    if (finishing)
        finishing->finish();
}

std::optional<ConnectionFigures> MatchScene::connection() const {
    if (!connectionFigures)
        return std::nullopt;
    return connectionFigures();
}

// The last state of every match in the log, so a recording and its replay can be compared.
void MatchScene::logMatchEnd() {
    if (!match)
        return;
    std::ostringstream line;
    line << "Match ended: checksum " << std::hex << std::setw(16) << std::setfill('0')
         << checksum(match->save()) << std::dec << ", health " << game->player1->state.health
         << " / " << game->player2->state.health;
    session.noteInLog(line.str());
}

// The dojo's view from (0, 80, 300), drawn back about the point looked at for a wider stage.
void MatchScene::placeCamera() {
    Ogre::Camera* camera = session.getCamera();
    const float scale = cameraScale();
    Ogre::SceneNode* node = camera->getParentSceneNode();
    node->setPosition(0, 60 + 20 * scale, 300 * scale);
    node->lookAt(Ogre::Vector3(0, 60, 0), Ogre::Node::TS_WORLD);
    camera->setFarClipDistance(1000 * scale);
}

// Online play and watching learn the match's fighters and stage once the match exists: those
// not here yet are loaded, their folders checked as at start-up, and put in place; the match
// starts afresh with them.
void MatchScene::castMatch(const Lineup& cast) {
    const Roster roster(session.getResourceDir() + "/media");
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
        createStage();
    }
    match->start(matchRules());
    session.noteInLog("The match: " + fighters[0]->name + " against " + fighters[1]->name +
                      " on " + stage.name);
}

float MatchScene::cameraScale() const { return stage.width / 2 / Stage::halfWidth; }

void MatchScene::destroyGround() {
    Ogre::SceneManager* scene = session.getSceneManager();
    if (!scene->hasEntity(groundName))
        return;
    Ogre::Entity* old = scene->getEntity(groundName);
    Ogre::SceneNode* node = old->getParentSceneNode();
    scene->destroyEntity(old);
    scene->destroySceneNode(node);
    Ogre::MeshManager::getSingleton().remove(
        groundName, Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME);
}

// The floor's material is the dojo's "Ground" showing the stage's own floor image; a floor
// already there (another stage's) goes first.
void MatchScene::createGround() {
    destroyGround();
    const Ogre::Plane ground(Ogre::Vector3::UNIT_Y, 0);
    const float size = 500 * cameraScale();
    Ogre::MeshManager::getSingleton().createPlane(
        groundName, Ogre::ResourceGroupManager::DEFAULT_RESOURCE_GROUP_NAME, ground, size, size,
        100, 100, true, 1, 10 * cameraScale(), 10 * cameraScale(), Ogre::Vector3::UNIT_Z);

    Ogre::SceneManager* scene = session.getSceneManager();
    Ogre::Entity* entity = scene->createEntity(groundName, groundName);
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
    scene->getRootSceneNode()
        ->createChildSceneNode(Ogre::Vector3::ZERO, Ogre::Quaternion::IDENTITY)
        ->attachObject(entity);
}
