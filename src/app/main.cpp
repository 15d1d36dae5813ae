#include <exception>
#include <functional>
#include <iostream>
#include <optional>
#include <string>

#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/FatalReport.h"
#include "app/LobbyMeeting.h"
#include "app/SignalWatcher.h"
#include "app/XErrorHandlers.h"
#include "app/applySettings.h"
#include "app/programDirectory.h"
#include "export/ExportError.h"
#include "frontdoor/FrontDoor.h"
#include "net/OnlineError.h"
#include "replay/ReplayError.h"
#include "replay/ReplayRecorder.h"
#include "roster/DataFileError.h"
#include "settings/SettingsFile.h"

namespace {

struct Failure {
    std::string text;
    // Not the game's fault: a file the player named is bad, or the other side of online play
    // refused, differs or is gone. One line says it.
    bool outsideTheGame = false;
    // The program's exit status after it.
    int status = 1;
};

// Runs the work and returns the text of what it threw. The text is taken here, at once: an
// exception thrown inside an engine plug-in cannot be read once the plug-in is unloaded.
template <typename Work> std::optional<Failure> failureOf(Work&& work) {
    try {
        work();
    } catch (const ReplayError& e) {
        return Failure{e.what(), true};
    } catch (const DataFileError& e) {
        return Failure{e.what(), true};
    } catch (const OnlineError& e) {
        return Failure{e.what(), true};
    } catch (const ExportError& e) {
        return Failure{e.what(), true, e.status};
    } catch (const std::exception& e) {
        // The engine's and the input library's exceptions are standard exceptions whose
        // what() is their full description.
        return Failure{e.what()};
    } catch (...) {
        return Failure{"An unknown error ended the game."};
    }
    return std::nullopt;
}

void report(const Failure& failure) {
    if (failure.outsideTheGame)
        std::cerr << "vorrak: " << failure.text << std::endl;
    else
        FatalReport::print(failure.text);
}

// Runs the work, reporting what failed: the front door's guard of every scene.
SceneSwitch::Ending guarded(const std::function<void()>& work) {
    const auto failure = failureOf(work);
    if (!failure)
        return {};
    report(*failure);
    return {failure->status, failure->text};
}

// Runs the game the Application was made for and tears it down, reporting what failed.
SceneSwitch::Ending play(Application& app) {
    SceneSwitch::Ending result;
    // Reported while the engine's log still exists; after a failure, the teardown's own
    // errors would only hide the first.
    if (const auto failure = failureOf([&app] { app.run(); })) {
        report(*failure);
        result = {failure->status, failure->text};
    }
    // A recording that failed is told even after another failure: it says what was kept.
    const auto teardownFailure = failureOf([&app] { app.shutdown(); });
    if (teardownFailure && (!result.status || teardownFailure->outsideTheGame)) {
        report(*teardownFailure);
        result = {teardownFailure->status, teardownFailure->text};
    }
    return result;
}

} // namespace

int main(int argc, char** argv) {
    SignalWatcher::endAtOnceUntilWatched();
    // The kept settings are the options' defaults: an option given wins for this run.
    std::vector<std::string> settingsNotes;
    SettingsFile settingsFile;
    const Settings settings = settingsFile.load(
        [&settingsNotes](const std::string& line) { settingsNotes.push_back(line); });
    Options options;
    applySettings(settings, options);
    if (const std::optional<int> status = parseCommandLine(argc, argv, options))
        return *status;
    // A recording that cannot be made is refused before the window opens, not lost after the
    // match.
    if (const auto failure = failureOf([&options] {
            if (!options.recordPath.empty())
                ReplayRecorder::checkTarget(options.recordPath);
        })) {
        report(*failure);
        return 2;
    }
    // Through a lobby: the other player (or the match to watch) is found before the window opens.
    LobbyMeeting meeting(options);
    if (!options.lobbyHost.empty()) {
        std::optional<int> done;
        try {
            done = meeting.meet();
        } catch (const std::exception& e) {
            std::cerr << "vorrak: " << e.what() << std::endl;
            return 1;
        }
        if (done)
            return *done;
    }
    XErrorHandlers::install();
    const GameFiles files = GameFiles::find(programDirectory());
    if (!files.logProblem.empty())
        std::cerr << "vorrak: the log stays in the working directory: " << files.logProblem
                  << std::endl;
    int failureStatus = 0;
    if (options.menu) {
        KeptSettings kept(settings, settingsFile, options.bindings, options.bindingsPath);
        // Each run reports its own failures; this is for what goes wrong between them.
        if (const auto failure = failureOf([&] {
                failureStatus =
                    FrontDoor(files, options, std::move(kept), settingsNotes).run(guarded);
            })) {
            report(*failure);
            failureStatus = failure->status;
        }
    } else {
        Application app(files, options);
        for (const std::string& note : settingsNotes)
            app.noteInLog(note);
        failureStatus = play(app).status;
    }
    if (failureStatus)
        return failureStatus;
    if (const int signal = SignalWatcher::caught())
        return 128 + signal;
    return 0;
}
