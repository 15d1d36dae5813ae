#include "frontdoor/ReplaysScreen.h"

#include <sys/stat.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "frontdoor/MenuSession.h"
#include "menu/MenuPage.h"
#include "menu/MenuStyle.h"
#include "replay/ReplayFolder.h"

namespace {

std::string dateOf(std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return text;
}

// The name players type, as a name: "sora" as "Sora".
std::string shownName(std::string name) {
    if (!name.empty())
        name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    return name;
}

std::string shortMode(const ReplayMode& mode) {
    switch (mode.kind) {
    case ReplayMode::Computer:
        return "CPU " + std::to_string(mode.cpuLevel);
    case ReplayMode::OpenFight:
    case ReplayMode::Versus:
    case ReplayMode::Online:
    case ReplayMode::Watched:
        break;
    }
    return mode.describe();
}

// "P1 2-1", "draw 1-1".
std::string shortResult(const ReplayResult& result) {
    const std::string said = result.describe();
    if (result.winner == ReplayResult::draw)
        return "draw" + said.substr(said.find(' '));
    return "P" + std::to_string(result.winner + 1) + said.substr(said.rfind(' '));
}

// A line that fits under the row.
std::string shortened(const std::string& text) {
    constexpr std::size_t longest = 40;
    return text.size() <= longest ? text : text.substr(0, longest - 3) + "...";
}

std::string lengthOf(double seconds) {
    const int whole = static_cast<int>(seconds);
    char text[16];
    std::snprintf(text, sizeof text, "%d:%02d", whole / 60, whole % 60);
    return text;
}

} // namespace

ReplaysScreen::ReplaysScreen(std::string folder) : folder(std::move(folder)) {}

void ReplaysScreen::enter() {
    // The limit is the folder's business when it records, not when it lists.
    listings = ReplayFolder(1, folder).list();
    chosen = -1;
    askingToDelete = false;
}

std::string ReplaysScreen::row(const ReplayListing& listing) {
    const std::string date = dateOf(listing.recorded);
    if (!listing.summary)
        return date + "  damaged";
    return date + "  " + lengthOf(listing.summary->seconds());
}

std::string ReplaysScreen::line(const ReplayListing& listing) {
    if (!listing.summary)
        return shortened(listing.damage);
    const ReplaySummary& summary = *listing.summary;
    std::string words = shownName(summary.fighters[0]) + " v " + shownName(summary.fighters[1]);
    if (summary.mode)
        words += ", " + shortMode(*summary.mode);
    if (summary.result)
        words += ", " + shortResult(*summary.result);
    return words;
}

std::vector<std::string> ReplaysScreen::details(const ReplayListing& listing) {
    if (!listing.summary)
        return {"Damaged:", listing.damage};
    const ReplaySummary& summary = *listing.summary;
    std::vector<std::string> lines = {shownName(summary.fighters[0]) + " v " +
                                      shownName(summary.fighters[1]) + " on the " + summary.stage};
    std::string how = summary.mode ? summary.mode->describe() : "";
    if (summary.rules.versus)
        how += (how.empty() ? "" : ", ") + std::to_string(summary.rules.rounds) + " rounds";
    if (!how.empty())
        lines.push_back(how);
    std::string end = summary.result ? summary.result->describe() + ", " : "";
    if (summary.startsMidMatch)
        end += "from the middle, ";
    lines.push_back(end + lengthOf(summary.seconds()));
    return lines;
}

std::optional<Screen> ReplaysScreen::step(MenuLayer& layer, MenuSession& session) {
    if (exporting)
        return stepExport(layer);
    if (chosen < 0)
        return stepList(layer);
    return stepChosen(layer, session);
}

std::optional<Screen> ReplaysScreen::stepList(MenuLayer& layer) {
    MenuPage page(layer, "replays", "REPLAYS");
    if (!problem.empty())
        page.note(problem);
    if (listings.empty())
        page.note("No replays yet: every match from the menus is kept here");
    for (std::size_t i = 0; i < listings.size(); ++i) {
        if (page.item(row(listings[i]))) {
            chosen = static_cast<int>(i);
            problem.clear();
        }
        page.note(line(listings[i]));
    }
    if (page.back())
        return Screen::Title;
    return std::nullopt;
}

std::optional<Screen> ReplaysScreen::stepChosen(MenuLayer& layer, MenuSession& session) {
    const ReplayListing& listing = listings[static_cast<std::size_t>(chosen)];
    if (askingToDelete) {
        MenuPage page(layer, "delete", "DELETE THIS REPLAY?");
        page.note(listing.name);
        const std::string video = videoOf(listing.path);
        if (page.item("No") || page.back())
            askingToDelete = false;
        if (page.item(video.empty() ? "Yes" : "Yes, the replay only"))
            remove({});
        if (!video.empty() && page.item("Yes, and its video"))
            remove(video);
        return std::nullopt;
    }
    MenuPage page(layer, "replay", dateOf(listing.recorded));
    for (const std::string& text : details(listing))
        page.note(text);
    std::optional<Screen> next;
    // A damaged file is never opened as a match.
    if (listing.summary && page.item("Play")) {
        session.mode = MenuSession::Mode::Replay;
        next = Screen::Play;
    }
    if (listing.summary && page.item("Play in the lab")) {
        session.mode = MenuSession::Mode::ReplayLab;
        next = Screen::Play;
    }
    if (next)
        session.replayPath = listing.path;
    if (listing.summary && page.item("Export to a video")) {
        const std::string stem = listing.path.substr(0, listing.path.rfind('.'));
        try {
            // A file to share: H.264 with its sound, as the command line makes an .mp4.
            exportPath = stem + ".mp4";
            exporting = std::make_unique<VideoExport>(listing.path, exportPath);
            exported.clear();
        } catch (const std::exception& e) {
            exported = e.what();
        }
    }
    if (!exported.empty())
        page.note(exported);
    if (page.item("Delete"))
        askingToDelete = true;
    if (page.back())
        chosen = -1;
    return next;
}

// A bar across the page, filled as the export goes; Escape stops it.
std::optional<Screen> ReplaysScreen::stepExport(MenuLayer& layer) {
    MenuPage page(layer, "export", "EXPORTING");
    const bool running = exporting->poll();
    const float left = (ImGui::GetIO().DisplaySize.x - MenuStyle::rowWidth) / 2;
    const float top = MenuStyle::listTop;
    ImDrawList* draw = ImGui::GetWindowDrawList();
    draw->AddRectFilled(ImVec2(left, top), ImVec2(left + MenuStyle::rowWidth, top + 30),
                        MenuStyle::field);
    draw->AddRectFilled(
        ImVec2(left, top),
        ImVec2(left + MenuStyle::rowWidth * static_cast<float>(exporting->done()), top + 30),
        MenuStyle::focusBand);
    ImGui::Dummy(ImVec2(MenuStyle::rowWidth, 40));
    page.note(std::to_string(static_cast<int>(exporting->done() * 100)) + "%  (Escape stops it)");
    if (!running) {
        exported = exporting->succeeded() ? "Saved as " + exportPath
                                          : shortened(exporting->lastLine());
        exporting.reset();
    } else if (page.back()) {
        exporting.reset();
        exported = "The export was stopped";
    }
    return std::nullopt;
}

void ReplaysScreen::remove(const std::string& video) {
    const ReplayListing& listing = listings[static_cast<std::size_t>(chosen)];
    if (std::remove(listing.path.c_str()) != 0)
        problem = listing.name + " could not be deleted: " + std::strerror(errno);
    else if (!video.empty() && std::remove(video.c_str()) != 0)
        problem = video + " could not be deleted: " + std::strerror(errno);
    enter();
}

// The video the list exported beside the recording, now or before (.mkv), if there is one.
std::string ReplaysScreen::videoOf(const std::string& replay) {
    const std::string stem = replay.substr(0, replay.rfind('.'));
    for (const char* extension : {".mp4", ".mkv"}) {
        struct stat status {};
        if (::stat((stem + extension).c_str(), &status) == 0 && S_ISREG(status.st_mode))
            return stem + extension;
    }
    return {};
}
