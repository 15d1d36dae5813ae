#include "export/ExportProgress.h"

#include <cmath>
#include <iomanip>
#include <ostream>
#include <sstream>

#include "export/VideoEncoder.h"

namespace {

// Often enough to look alive, seldom enough to cost nothing.
constexpr auto redrawInterval = std::chrono::milliseconds(250);
// Clears what a longer line before it left on the terminal.
const char* const clearToEnd = "\033[K";

// Play seconds per wall-clock second.
double speed(std::size_t frames, double seconds) {
    return seconds > 0 ? static_cast<double>(frames) / VideoEncoder::framesPerSecond / seconds : 0;
}

} // namespace

ExportProgress::ExportProgress(std::ostream& out, bool terminal, std::size_t total,
                               Clock::time_point start)
    : out(out), terminal(terminal), total(total), start(start), shown(start) {}

void ExportProgress::frameDone(Clock::time_point now) {
    ++done;
    if (!terminal || now - shown < redrawInterval)
        return;
    shown = now;
    out << '\r' << line(done, total, secondsSince(now)) << clearToEnd << std::flush;
}

void ExportProgress::finished(const std::string& path, Clock::time_point now) {
    const double seconds = secondsSince(now);
    if (terminal)
        out << '\r';
    out << std::fixed << std::setprecision(1) << "Exported " << done
        << (done == 1 ? " step (" : " steps (")
        << static_cast<double>(done) / VideoEncoder::framesPerSecond << " s of play) to '" << path
        << "' in " << seconds << " s, " << std::setprecision(2) << speed(done, seconds)
        << "x real time" << (terminal ? clearToEnd : "") << std::endl;
}

std::string ExportProgress::line(std::size_t done, std::size_t total, double seconds) {
    std::ostringstream text;
    text << done << " / " << total << " steps";
    const double rate = speed(done, seconds);
    if (rate <= 0)
        return text.str();
    const double left = static_cast<double>(total - done) / VideoEncoder::framesPerSecond / rate;
    text << std::fixed << std::setprecision(2) << ", " << rate << "x real time, "
         << std::llround(left) << " s left";
    return text.str();
}

double ExportProgress::secondsSince(Clock::time_point now) const {
    return std::chrono::duration<double>(now - start).count();
}
