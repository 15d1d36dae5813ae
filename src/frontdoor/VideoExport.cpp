#include "frontdoor/VideoExport.h"

#include <fcntl.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <stdexcept>
#include <vector>

namespace {

// The game's own program, wherever it was started from.
std::string ownProgram() {
    std::vector<char> path(4096);
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size() - 1);
    return length > 0 ? std::string(path.data(), static_cast<std::size_t>(length)) : "vorrak";
}

} // namespace

VideoExport::VideoExport(const std::string& replay, const std::string& video) {
    const std::string program = ownProgram();
    child = forkpty(&terminal, nullptr, nullptr, nullptr);
    if (child < 0)
        throw std::runtime_error("the export could not start");
    if (child == 0) {
        execl(program.c_str(), program.c_str(), "--replay", replay.c_str(), "--export",
              video.c_str(), static_cast<char*>(nullptr));
        std::perror("vorrak: the export could not start");
        _exit(127);
    }
    fcntl(terminal, F_SETFL, fcntl(terminal, F_GETFL) | O_NONBLOCK);
}

VideoExport::~VideoExport() {
    if (!ended) {
        kill(child, SIGTERM);
        waitpid(child, nullptr, 0);
    }
    close(terminal);
}

bool VideoExport::poll() {
    if (ended)
        return false;
    read();
    int result = 0;
    if (waitpid(child, &result, WNOHANG) != child)
        return true;
    read();
    ended = true;
    status = WIFEXITED(result) ? WEXITSTATUS(result) : 128 + WTERMSIG(result);
    if (status == 0)
        fraction = 1;
    return false;
}

// The newest "done / total steps" the line was rewritten with.
void VideoExport::read() {
    char buffer[4096];
    ssize_t got = 0;
    while ((got = ::read(terminal, buffer, sizeof buffer)) > 0)
        output.append(buffer, static_cast<std::size_t>(got));
    // Only the line being rewritten matters.
    if (output.size() > 65536)
        output.erase(0, output.size() - 4096);
    std::size_t end = output.size();
    while (end > 0) {
        const std::size_t start = output.rfind('\r', end - 1);
        const std::size_t from = start == std::string::npos ? 0 : start + 1;
        unsigned long long doneSteps = 0, total = 0;
        if (std::sscanf(output.c_str() + from, "%llu / %llu steps", &doneSteps, &total) == 2 &&
            total > 0) {
            fraction = static_cast<double>(doneSteps) / static_cast<double>(total);
            return;
        }
        if (start == std::string::npos)
            return;
        end = start;
    }
}

std::string VideoExport::lastLine() const {
    std::string text = output;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    const std::size_t start = text.find_last_of("\r\n");
    text = start == std::string::npos ? text : text.substr(start + 1);
    // The export's escape that clears the rest of the line.
    const std::size_t escape = text.find('\x1b');
    return escape == std::string::npos ? text : text.substr(0, escape);
}
