#include "app/SignalWatcher.h"

#include <csignal>
#include <cstring>
#include <iterator>
#include <string>

#include <OgreLogManager.h>
#include <unistd.h>

namespace {

const int watchedSignals[] = {SIGINT, SIGTERM, SIGHUP};
volatile std::sig_atomic_t caughtSignal = 0;

void noteSignal(int signal) {
    if (caughtSignal == 0)
        caughtSignal = signal;
}

// Before the game runs there is nothing to tear down and no log to complete.
void endAtOnce(int signal) { _exit(128 + signal); }

struct sigaction previousActions[std::size(watchedSignals)];

} // namespace

void SignalWatcher::endAtOnceUntilWatched() {
    // A write to a display whose server died then fails with EPIPE, which Xlib hands to the
    // game's X error handler (the report, the recording finished) instead of SIGPIPE ending
    // the game silently.
    std::signal(SIGPIPE, SIG_IGN);
    struct sigaction action {};
    action.sa_handler = endAtOnce;
    sigemptyset(&action.sa_mask);
    for (int signal : watchedSignals) {
        struct sigaction previous {};
        sigaction(signal, nullptr, &previous);
        if (previous.sa_handler != SIG_IGN)
            sigaction(signal, &action, nullptr);
    }
}

SignalWatcher::SignalWatcher() {
    struct sigaction action {};
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    // Interrupted system calls resume: the engine and the GL driver do not expect EINTR.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (std::size_t i = 0; i < std::size(watchedSignals); ++i) {
        sigaction(watchedSignals[i], nullptr, &previousActions[i]);
        // A signal ignored by whoever started the game (nohup) stays ignored.
        if (previousActions[i].sa_handler != SIG_IGN)
            sigaction(watchedSignals[i], &action, nullptr);
    }
}

SignalWatcher::~SignalWatcher() {
    for (std::size_t i = 0; i < std::size(watchedSignals); ++i)
        sigaction(watchedSignals[i], &previousActions[i], nullptr);
}

bool SignalWatcher::frameStarted(const Ogre::FrameEvent&) {
    const int signal = caught();
    if (signal == 0)
        return true;
    Ogre::LogManager::getSingleton().logMessage("Ending on signal " + std::to_string(signal) +
                                                " (" + strsignal(signal) + ")");
    return false;
}

int SignalWatcher::caught() { return caughtSignal; }
