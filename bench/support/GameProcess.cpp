#include "support/GameProcess.h"

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/programDirectory.h"

namespace {

FramePass::Time at(long long nanoseconds) {
    return FramePass::Time(std::chrono::nanoseconds(nanoseconds));
}

} // namespace

GameProcess::GameProcess(const std::string& program, const std::vector<std::string>& arguments,
                         bool traced) {
    const std::string path = programDirectory() + "/" + program;
    std::vector<char*> argv{const_cast<char*>(path.c_str())};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    int output[2] = {-1, -1};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (traced && pipe(output) == 0) {
        posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, output[0]);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    }
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    if (posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), environ) != 0)
        pid = 0;
    posix_spawn_file_actions_destroy(&actions);
    if (output[1] >= 0) {
        close(output[1]);
        reader = std::thread([this, fd = output[0]] { readTrace(fd); });
    }
}

GameProcess::~GameProcess() {
    if (pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
    if (reader.joinable())
        reader.join();
}

void GameProcess::readTrace(int fd) {
    FILE* trace = fdopen(fd, "r");
    char line[256];
    while (trace && std::fgets(line, sizeof line, trace)) {
        unsigned long window = 0;
        long long due, woke, stepped, drawn, swapped;
        int steps = 0;
        const std::lock_guard<std::mutex> lock(mutex);
        if (std::sscanf(line, "window %lu", &window) == 1)
            windowId = window;
        else if (std::sscanf(line, "pass %lld %lld %lld %d %lld %lld", &due, &woke, &stepped,
                             &steps, &drawn, &swapped) == 6) {
            FramePass pass;
            pass.due = at(due);
            pass.woke = at(woke);
            pass.stepped = at(stepped);
            pass.steps = steps;
            pass.pictured = swapped != 0;
            pass.drawn = at(drawn);
            pass.swapped = at(swapped);
            traced.push_back(pass);
        }
    }
    if (trace)
        std::fclose(trace);
}

unsigned long GameProcess::window(double timeoutSeconds) {
    for (double waited = 0; waited < timeoutSeconds && running(); waited += 0.05) {
        {
            const std::lock_guard<std::mutex> lock(mutex);
            if (windowId)
                return windowId;
        }
        usleep(50000);
    }
    return 0;
}

std::vector<FramePass> GameProcess::passes() const {
    const std::lock_guard<std::mutex> lock(mutex);
    return traced;
}

bool GameProcess::running() {
    if (pid <= 0)
        return false;
    if (waitpid(pid, nullptr, WNOHANG) == 0)
        return true;
    pid = 0;
    return false;
}
