#pragma once

#include <atomic>
#include <memory>
#include <optional>
#include <thread>

#include "app/Options.h"

class LobbyClient;

// The game's visit to the lobby before an online match (--lobby): greets with the player's
// name, then makes a room and prints its code, joins one by its code, waits for a quick match,
// prints the matches under way or finds the one to watch. Paired, it fills the options in as
// the host or the guest of a match with the way through both routers, and keeps the lobby's
// connection on a thread of its own so the match stays listed while it lasts; the match itself
// never depends on the lobby. Owned by main for the whole run.
class LobbyMeeting {
public:
    explicit LobbyMeeting(Options& options);
    ~LobbyMeeting();
    LobbyMeeting(const LobbyMeeting&) = delete;
    LobbyMeeting& operator=(const LobbyMeeting&) = delete;

    // Blocks until paired or the match to watch is found, then returns nothing for the game to
    // go on; or the exit status when the visit was all (the list printed). Throws
    // std::runtime_error with a one-line reason when the lobby refuses or cannot be reached.
    std::optional<int> meet();

private:
    lobby::Paired waitForPartner();
    lobby::Message next();
    void playAs(const lobby::Paired& paired);
    std::optional<int> listOrWatch();
    void keep();

    Options& options;
    std::unique_ptr<LobbyClient> client;
    std::atomic<bool> stop{false};
    std::thread keeper;
};
