#pragma once

#include <cstdint>

#include <string>

#include "export/ExportSettings.h"
#include "sound/SoundSettings.h"

namespace Ogre {
class Camera;
}
class ExportModule;
class Game;
class Match;
class MatchView;
struct Replay;

// Renders a replay into a video file, one picture per logic step whatever the speed of drawing:
// frame n of the video is the screen after step n. The replay is first played through on the
// rules alone and checked against its checksums, so a match that does not come out as recorded
// is refused before a file is made; then the match goes back to where the replay starts (a
// saved match, for a recording of a match watched from its middle) and plays again with
// the displays the settings ask for, and every step of the cut is drawn off the screen, read
// back and encoded by the export module's encoder, with the sound of its cues mixed off-line
// beside it unless the sound settings leave it out (--no-audio or --mute). Made by the
// Application for one run; nothing it is given is owned.
class ReplayExport {
public:
    // Throws ExportError (exit status 2) when the cut does not fit the replay's steps.
    static void checkCut(const ExportSettings& settings, const Replay& replay);

    ReplayExport(Match& match, Game& game, MatchView& screen, Ogre::Camera* camera,
                 const ExportModule& module, ExportSettings settings, SoundSettings sound,
                 std::string soundsDir);

    // The whole export; throws ReplayError or a runtime error for a replay that cannot be played
    // and ExportError for a video that cannot be written. A signal stops it with no file left.
    void run(const Replay& replay);

private:
    // False when a signal stopped the check.
    bool verify(const Replay& replay);
    void render(const Replay& replay);

    Match& match;
    Game& game;
    MatchView& screen;
    Ogre::Camera* camera;
    const ExportModule& module;
    ExportSettings settings;
    SoundSettings sound;
    std::string soundsDir;
};
