#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Options.h"
#include "app/Scene.h"
#include "match/MatchRules.h"
#include "replay/ReplayMode.h"
#include "roster/Lineup.h"
#include "roster/StageData.h"

class CharacterData;
class ConnectionDisplay;
class ExportModule;
class Game;
class Match;
struct MatchState;
class MatchDriver;
class MatchView;
class ReplayRecorder;
struct Replay;
struct RoundState;
class Session;
class SpriteManager;

// A match as the options ask for it, on the session's screen: its fighters and stage read and
// checked, the sprites, the Game and the Match, the stage's floor and the camera placed on it,
// the match's view and what drives it (the plain game, a recording, a replay, the lab, the
// computer, online play or watching). Everything it makes goes when it is destroyed; the engine
// stays with the session. Made by the Application or the FrontDoor, run by the Session.
class MatchScene : public Scene {
public:
    MatchScene(Session& session, Options options);
    ~MatchScene() override;

    MatchScene(const MatchScene&) = delete;
    MatchScene& operator=(const MatchScene&) = delete;

    // Before the engine: a replay read and checked, its fighters and stage chosen in place of
    // the options', the fighters and the stage read. A file that cannot be played ends the
    // program before a window opens.
    void prepare();
    // The fighters' folders, whose images the session's start decodes.
    std::vector<std::string> imageFolders() const;
    // The window's title: online play names the side and the other player.
    std::string title() const;

    // The front door's hold on the match: the driver the options make (the computer included)
    // is handed to wrap, which returns the driver that runs in its place.
    using DriverWrap = std::function<std::unique_ptr<MatchDriver>(std::unique_ptr<MatchDriver>)>;
    void wrapDriver(DriverWrap wrap) { driverWrap = std::move(wrap); }

    // The sprites, the match, the stage, the view and the driver.
    void createMatch();
    // The sprite library and the Game with both fighters: the first part of createMatch.
    void createGame();
    // The stage's floor and the camera placed on it.
    void createStage();
    // The match's fighters and stage as online play or the host says, in place of the options'.
    void castMatch(const Lineup& cast);

    // The modes without a window: the frame-data table and the arena.
    void printFrameData();
    void runArena();
    // --export: the replay drawn off the screen step by step into the video; the module is the
    // export's, opened before the engine.
    void exportReplay(ExportModule& module);

    // A line on the screen for as long as the match lasts, as a failed recording's: what the
    // player must know of it (a match that is not recorded).
    void notice(const std::string& line);

    MatchDriver& driver() override { return *matchDriver; }
    void end() override;
    std::optional<ConnectionFigures> connection() const override;

    const Options& getOptions() const { return options; }
    Game* getGame() const { return game.get(); }
    Match* getMatch() const { return match.get(); }
    MatchView* getMatchView() const { return matchView.get(); }
    // The replay prepare read, for --export.
    const Replay& replayRead() const { return *replay; }

private:
    std::unique_ptr<MatchDriver> createDriver();
    std::unique_ptr<MatchDriver> createOnlineDriver();
    std::unique_ptr<MatchDriver> createLocalDriver();
    // Watching an online match (MatchSceneDrivers.cpp).
    std::unique_ptr<MatchDriver> createSpectatorDriver();
    // By the rules of the options, or those given; from the match's start, or from `start`
    // before the match's step firstStep.
    std::unique_ptr<ReplayRecorder> createRecorder(const MatchRules* rules = nullptr,
                                                   const MatchState* start = nullptr,
                                                   int firstStep = 0);
    void loadRoster();
    void readReplayAndItsLineup();
    void checkReplayLineup() const;
    // The fighters and the stage of the match, by name and fingerprint.
    Lineup lineup() const;
    ReplayMode replayMode() const;
    MatchRules matchRules() const;
    void logMatchEnd();
    // The result of a decided versus match, to the log and stdout.
    void reportResult(const RoundState& round);
    void placeCamera();
    void createGround();
    void destroyGround();
    // How far the camera stands back from the dojo's place: the stage's walls where its view
    // ends.
    float cameraScale() const;

    Session& session;
    Options options;
    // Read and checked before the engine starts, so a bad file ends the program at once.
    std::unique_ptr<Replay> replay;
    std::array<std::shared_ptr<const CharacterData>, 2> fighters;
    std::array<std::string, 2> fighterFolders;
    StageData stage;
    std::unique_ptr<SpriteManager> spriteManager;
    std::unique_ptr<Game> game;
    std::unique_ptr<Match> match;
    // Draws the match before each picture of the window.
    std::unique_ptr<MatchView> matchView;
    std::unique_ptr<MatchDriver> matchDriver;
    // The driver's recorder, when the match is recorded, and the line that tells of its failure.
    ReplayRecorder* recorder = nullptr;
    std::unique_ptr<ConnectionDisplay> recordingNotice;
    // The online drivers' connection, for the overlay; empty in the other modes.
    std::function<ConnectionFigures()> connectionFigures;
    DriverWrap driverWrap;
    bool ended = false;
    int resultsReported = 0;
};
