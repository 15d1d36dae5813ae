#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/GameFiles.h"
#include "app/Options.h"
#include "app/Session.h"
#include "frontdoor/KeptSettings.h"
#include "frontdoor/MenuScreens.h"
#include "frontdoor/MenuSession.h"
#include "frontdoor/Next.h"
#include "frontdoor/RosterEntry.h"
#include "frontdoor/Screen.h"

class MatchScene;
class Scene;

// vorrak --menu: the game as a player meets it, on one session from the title to the last
// match: the menus (MenuRun over an idle match) until they start a match, then the match with
// its menus (MatchMenus) until the player asks for a rematch, fighter select, the title or the
// replays, and so on until the program ends (Quit, the window closed, a signal, an error). Each
// is a scene the session switches to, the window staying as it is. Each match is the one the
// options would make of the player's choices and the kept settings; every match played is
// recorded into the replays folder. Made and run by the entry point.
class FrontDoor {
public:
    using Guard = SceneSwitch::Guard;

    FrontDoor(GameFiles files, Options options, KeptSettings kept,
              std::vector<std::string> logNotes);
    ~FrontDoor();

    // The program's exit status. Every failure runs under the guard, which reports it.
    int run(const Guard& guard);

    // The fighters and stages of a media folder, as the menus offer them.
    static std::vector<RosterEntry> fightersOf(const std::string& media);
    static std::vector<RosterEntry> stagesOf(const std::string& media);

private:
    // The scene after the one that ended so; none ends the program (status says how).
    std::unique_ptr<Scene> after(const SceneSwitch::Ending& ending);
    std::unique_ptr<Scene> startMenus(Screen start);
    std::unique_ptr<Scene> startMatch();
    std::unique_ptr<MatchScene> menusScene(Screen start);
    std::unique_ptr<MatchScene> matchScene();
    // The last match's recording kept, or its empty file removed; the folder pruned.
    void closeRecording();
    // The command line's options, with what the settings screen changed since the start.
    Options withSettings() const;
    Options matchOptions() const;
    // Whether the match is one to record: one played, not watched or replayed, and not the lab.
    static bool recordable(const Options& match);
    // Which scene of the session the log lines that follow are of; the first's also the
    // settings file's word.
    void logScene(const std::string& what);
    // The session's mode in words, for the log.
    std::string modeName() const;

    Options options;
    // The settings as the program started with them: what differs now was changed in the menus
    // and wins over the command line.
    Settings startSettings;
    KeptSettings kept;
    std::vector<std::string> logNotes;
    MenuSession choices;
    std::vector<RosterEntry> fighters;
    std::vector<RosterEntry> stages;
    MenuScreens screens;
    Session session;
    Guard guard;
    // The scenes so far; where the scene in place asks to go; whether it is a match, and the
    // recording it makes.
    int scenes = 0;
    Next outcome = Next::Quit;
    bool playing = false;
    std::string recordPath;
    // The exit status a failure that ends the program asks for.
    int status = 0;
};
