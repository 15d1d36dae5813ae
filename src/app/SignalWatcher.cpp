#include "app/SignalWatcher.h"

#include <csignal>
#include <cstring>
#include <iterator>
#include <string>

#include <OgreLogManager.h>
#include <unistd.h>

#include "replay/ReplayRecorder.h"

namespace {

const int watchedSignals[] = {SIGINT, SIGTERM, SIGHUP};
volatile std::sig_atomic_t caughtSignal = 0;
// One bit per kind of signal caught, by its number.
volatile std::sig_atomic_t caughtKinds = 0;
// The thread that runs the game and writes its recording.
volatile pid_t gameThread = 0;

// Nothing is torn down and no log completed; a recording still open is completed and named
// first. That runs on the game's thread, where nothing else can be writing the recording
// meanwhile: a signal taken by another thread is passed on to it.
void endAtOnce(int signal) {
    if (gameThread != 0 && gettid() != gameThread) {
        tgkill(getpid(), gameThread, signal);
        return;
    }
    _exit(ReplayRecorder::completeAllAtOnce() ? 128 + signal : 1);
}

void noteSignal(int signal) {
    const int kind = 1 << signal;
    if (caughtKinds & kind)
        return endAtOnce(signal);
    caughtKinds = caughtKinds | kind;
    if (caughtSignal == 0)
        caughtSignal = signal;
}

// The handlers do not interrupt each other.
struct sigaction actionOf(void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    for (int signal : watchedSignals)
        sigaddset(&action.sa_mask, signal);
    // Interrupted system calls resume: the engine and the GL driver do not expect EINTR.
    action.sa_flags = SA_RESTART;
    return action;
}

struct sigaction previousActions[std::size(watchedSignals)];

} // namespace

void SignalWatcher::endAtOnceUntilWatched() {
    // A write to a display whose server died then fails with EPIPE, which Xlib hands to the
    // game's X error handler (the report, the recording finished) instead of SIGPIPE ending
    // the game silently.
    std::signal(SIGPIPE, SIG_IGN);
    gameThread = gettid();
    const struct sigaction action = actionOf(endAtOnce);
    for (int signal : watchedSignals) {
        struct sigaction previous {};
        sigaction(signal, nullptr, &previous);
        if (previous.sa_handler != SIG_IGN)
            sigaction(signal, &action, nullptr);
    }
}

SignalWatcher::SignalWatcher() {
    const struct sigaction action = actionOf(noteSignal);
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
