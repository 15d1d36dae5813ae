#include "sound/SoundPresenter.h"

#include <stdexcept>

#include "sound/AudioOutput.h"
#include "sound/Mixer.h"
#include "sound/SampleBank.h"
#include "sound/cueDetection.h"

namespace {

// The output only once a device plays it: without one, nobody would empty the mixer's queue.
CueOutput* outputOf(const std::unique_ptr<Mixer>& mixer,
                    const std::unique_ptr<AudioOutput>& device) {
    return device && device->isOpen() ? mixer.get() : nullptr;
}

} // namespace

// Muted, no device is opened. Members go in reverse: the device, whose thread mixes from the
// mixer and the samples, before them.
SoundPresenter::SoundPresenter(const SoundSettings& settings, std::unique_ptr<SampleBank> sounds,
                               const Log& log, const OpenOutput& openOutput)
    : bank(settings.mute ? nullptr : std::move(sounds)),
      mixer(bank ? std::make_unique<Mixer>(*bank, settings.volume) : nullptr),
      device(mixer && openOutput ? openOutput(*mixer, log) : nullptr),
      player(outputOf(mixer, device)) {
    if (settings.mute)
        log("Sound: muted (--mute)");
    if (settings.cueLogPath.empty())
        return;
    cueLog.open(settings.cueLogPath, std::ios::trunc);
    if (!cueLog)
        throw std::runtime_error("Cannot write the cue log '" + settings.cueLogPath + "'");
    player.log = [this](int step, const char* decision, const SoundCue& cue) {
        logCue(step, decision, cue);
    };
}

SoundPresenter::~SoundPresenter() = default;

void SoundPresenter::stepRan(int step, const MatchState& before, const MatchState& after) {
    player.step(step, detectCues(before, after));
}

void SoundPresenter::silence() { player.silence(); }

void SoundPresenter::setVolume(int volume) {
    if (mixer)
        mixer->setVolume(volume);
}

// "<step> <decision> <sound> <side> at <frame>": the frame is where the mixer's output stood
// when the decision was taken, 0 without a device.
void SoundPresenter::logCue(int step, const char* decision, const SoundCue& cue) {
    const CueOutput* output = outputOf(mixer, device);
    cueLog << step << ' ' << decision << ' ' << SoundCue::name(cue.sound) << ' ' << cue.side
           << " at " << (output ? mixer->framesMixed() : 0) << '\n';
    cueLog.flush();
}
