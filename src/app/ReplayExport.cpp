#include "app/ReplayExport.h"

#include <chrono>
#include <iostream>
#include <memory>

#include <unistd.h>

#include "app/FrameStats.h"
#include "app/SignalWatcher.h"
#include "export/ExportError.h"
#include "export/ExportModule.h"
#include "export/ExportProgress.h"
#include "export/VideoEncoder.h"
#include "match/Game.h"
#include "match/Match.h"
#include "render/MatchView.h"
#include "render/OffscreenView.h"
#include "render/TimingOverlay.h"
#include "replay/ReplayPlayback.h"
#include "sound/OfflineMix.h"

namespace {

static_assert(OfflineMix::framesPerStep == VideoEncoder::audioFramesPerPicture,
              "each picture gets one step's sound");

std::size_t lastStep(const ExportSettings& settings, const Replay& replay) {
    return settings.to != 0 ? settings.to : replay.steps.size();
}

} // namespace

void ReplayExport::checkCut(const ExportSettings& settings, const Replay& replay) {
    const std::size_t steps = replay.steps.size();
    if (steps == 0)
        throw ExportError("Cannot export '" + replay.source + "': it holds no steps");
    const auto beyond = [&](const char* option, std::size_t step) {
        return ExportError(std::string(option) + " " + std::to_string(step) +
                               " is beyond the last step of '" + replay.source + "' (" +
                               std::to_string(steps) + ")",
                           2);
    };
    if (settings.to > steps)
        throw beyond("--to", settings.to);
    if (settings.from > steps)
        throw beyond("--from", settings.from);
}

ReplayExport::ReplayExport(Match& match, Game& game, MatchView& screen, Ogre::Camera* camera,
                           const ExportModule& module, ExportSettings settings, SoundSettings sound,
                           std::string soundsDir)
    : match(match), game(game), screen(screen), camera(camera), module(module),
      settings(std::move(settings)), sound(std::move(sound)), soundsDir(std::move(soundsDir)) {}

void ReplayExport::run(const Replay& replay) {
    if (verify(replay))
        render(replay);
}

// The rules alone are quick: with nothing drawn, a long replay is checked in moments.
bool ReplayExport::verify(const Replay& replay) {
    ReplayPlayback playback(match, replay);
    const MatchState start = match.save();
    while (playback.step(StepInput{}))
        if (SignalWatcher::caught())
            return false;
    match.restore(start);
    return true;
}

void ReplayExport::render(const Replay& replay) {
    const std::size_t last = lastStep(settings, replay);
    OffscreenView view(camera, settings.width, settings.height);
    // The sound before the cut is mixed too, so the cut starts amid what was playing.
    std::unique_ptr<OfflineMix> mix;
    if (!sound.noAudio && !sound.mute)
        mix = std::make_unique<OfflineMix>(soundsDir, sound.volume);
    const std::unique_ptr<VideoEncoder> encoder =
        module.createEncoder(settings.path, settings.width, settings.height, mix != nullptr);
    ExportProgress progress(std::cerr, isatty(STDERR_FILENO) == 1, last - settings.from + 1);
    if (settings.boxes)
        game.showHitboxes();
    if (settings.inputs)
        game.showInputPanels();
    // Only when asked: the export's own steps and pictures, timed as the frame loop times its.
    std::unique_ptr<TimingOverlay> timing;
    FrameStats stats;
    if (settings.timing) {
        timing = std::make_unique<TimingOverlay>();
        timing->setVisible(true);
    }
    for (std::size_t step = 1; step <= last; ++step) {
        // The encoder, unfinished, removes its temporary file as it goes.
        if (SignalWatcher::caught())
            return;
        FramePass pass;
        pass.due = pass.woke = std::chrono::steady_clock::now();
        const MatchState before = mix ? match.save() : MatchState{};
        match.step(replay.step(step - 1));
        if (mix)
            mix->stepRan(replay.firstStep + static_cast<int>(step - 1), before, match.save());
        pass.stepped = std::chrono::steady_clock::now();
        pass.steps = 1;
        pass.stepSeconds = pass.worstStepSeconds =
            std::chrono::duration<double>(pass.stepped - pass.woke).count();
        if (step < settings.from)
            continue;
        if (timing)
            timing->show(stats.figures(), std::nullopt);
        screen.show();
        view.draw();
        pass.drawn = std::chrono::steady_clock::now();
        const Ogre::PixelBox& picture = view.readBack();
        pass.swapped = std::chrono::steady_clock::now();
        pass.pictured = true;
        stats.add(pass);
        encoder->addFrame(picture.data, static_cast<std::ptrdiff_t>(picture.rowPitch) * 4);
        if (mix)
            encoder->addAudio(mix->stepSound());
        progress.frameDone();
    }
    encoder->finish();
    progress.finished(settings.path);
}
