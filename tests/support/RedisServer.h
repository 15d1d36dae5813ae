#pragma once

#include <chrono>
#include <csignal>
#include <string>
#include <thread>

#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

// A Redis server of the test's own on a free loopback port, keeping nothing on disk; stopped
// when the test ends. available() is false where Debian's redis-server is not installed.
class RedisServer {
public:
    RedisServer() {
        if (access(program, X_OK) != 0)
            return;
        port = freePort();
        pid = fork();
        if (pid == 0) {
            const std::string portText = std::to_string(port);
            execl(program, program, "--port", portText.c_str(), "--bind", "127.0.0.1", "--save",
                  "", "--appendonly", "no", "--dir", "/tmp", "--loglevel", "warning",
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        for (int i = 0; i < 200 && !answers(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ~RedisServer() {
        if (pid <= 0)
            return;
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }

    bool available() const { return pid > 0; }
    int port = 0;

private:
    static constexpr const char* program = "/usr/bin/redis-server";

    static int freePort() {
        const int fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
        close(fd);
        return ntohs(address.sin_port);
    }
    bool answers() const {
        const int fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        const bool up = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        close(fd);
        return up;
    }

    pid_t pid = -1;
};
