#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/GameFiles.h"
#include "app/Options.h"
#include "frontdoor/KeptSettings.h"
#include "frontdoor/MenuScreens.h"
#include "frontdoor/MenuSession.h"
#include "frontdoor/Next.h"
#include "frontdoor/RosterEntry.h"

class Application;

// vorrak --menu: the game as a player meets it. Runs the Application again and again in turns:
// the menus (MenuRun) until they start a match, then the match with its menus (MatchMenus)
// until the player asks for a rematch, fighter select, the title or the replays, or the program
// ends (Quit, the window closed, a signal, an error). Each match runs as the options would run
// it, made from the session's choices and the kept settings; every match played is recorded
// into the replays folder. Made and run by the entry point.
class FrontDoor {
public:
    // What a run of the Application came to: its exit status and, after a failure, the
    // reason in words (already reported).
    struct RunResult {
        int status = 0;
        std::string failure;
    };
    // Runs the Application and tears it down, reporting a failure as the entry point does.
    using Play = std::function<RunResult(Application&)>;

    FrontDoor(GameFiles files, Options options, KeptSettings kept,
              std::vector<std::string> logNotes);

    // The program's exit status.
    int run(const Play& play);

    // The fighters and stages of a media folder, as the menus offer them.
    static std::vector<RosterEntry> fightersOf(const std::string& media);
    static std::vector<RosterEntry> stagesOf(const std::string& media);

private:
    Next runMenus(Screen start, const Play& play, RunResult& result);
    Next runMatch(const Play& play, RunResult& result);
    // The command line's options, with what the settings screen changed since the start.
    Options withSettings() const;
    Options matchOptions() const;
    // Whether the match is one to record: one played, not watched or replayed, and not the lab.
    static bool recordable(const Options& match);
    void logNotesTo(Application& app, const std::string& what);
    // The session's mode in words, for the log.
    std::string modeName() const;

    GameFiles files;
    Options options;
    // The settings as the program started with them: what differs now was changed in the menus
    // and wins over the command line.
    Settings startSettings;
    KeptSettings kept;
    std::vector<std::string> logNotes;
    MenuSession session;
    // The runs of the Application so far.
    int runs = 0;
    std::vector<RosterEntry> fighters;
    std::vector<RosterEntry> stages;
    MenuScreens screens;
};
