#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "frontdoor/Screen.h"
#include "frontdoor/VideoExport.h"
#include "replay/ReplayListing.h"

class MenuLayer;
class MenuPage;
struct MenuSession;

// The replays folder's recordings, newest first, each with its date and length and, below, its
// fighters, mode and result as its header tells; a damaged file is listed as damaged and never
// opened. Choosing one shows it whole with Play, Play in the lab, Export to a video (beside it,
// NAME.mp4, H.264 with its sound, with a progress bar, then where it went; Escape stops it) and
// Delete (after asking, with its video if it has one). Owned by the menus' screens.
class ReplaysScreen {
public:
    explicit ReplaysScreen(std::string folder);

    // Shown afresh: the folder listed again.
    void enter();
    std::optional<Screen> step(MenuLayer& layer, MenuSession& session);

    // A recording's row in the list: its date, then its length or "damaged".
    static std::string row(const ReplayListing& listing);
    // The line under the row: the fighters, the mode and the result, short ("Sora v Brann,
    // CPU 4, P1 2-1"), or what is damaged.
    static std::string line(const ReplayListing& listing);
    // All the header tells, in lines: the fighters and the stage, the mode and rules, the result
    // and the length.
    static std::vector<std::string> details(const ReplayListing& listing);

    // Why the last replay played ended, when it failed.
    std::string problem;

private:
    std::optional<Screen> stepList(MenuLayer& layer);
    std::optional<Screen> stepChosen(MenuLayer& layer, MenuSession& session);
    // The chosen recording deleted, and the video given if any.
    void remove(const std::string& video);
    static std::string videoOf(const std::string& replay);
    std::optional<Screen> stepExport(MenuLayer& layer);

    std::string folder;
    std::vector<ReplayListing> listings;
    // The recording chosen from the list, by its place in it; -1 while the list shows.
    int chosen = -1;
    bool askingToDelete = false;
    // The export of the chosen recording while it runs, and what the last one came to.
    std::unique_ptr<VideoExport> exporting;
    std::string exported;
    // Where the export in progress writes its video.
    std::string exportPath;
};
