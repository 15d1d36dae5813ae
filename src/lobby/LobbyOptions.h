#pragma once

#include <optional>
#include <string>

#include "lobby/LobbyServer.h"

// vorrak-lobby's command line: the port and address it listens on, its limits, the relay's
// ports and public address, the quick match's ping rule and where its state is kept.
class LobbyOptions {
public:
    LobbyServer::Setup server;
    // Empty: the state in memory.
    std::string redisHost;
    int redisPort = 6379;

    // The exit status when the program should end at once (help, or a usage error, said on
    // stderr), or nothing to go on.
    std::optional<int> parse(int argc, char** argv);
};
