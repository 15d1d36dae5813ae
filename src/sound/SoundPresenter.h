#pragma once

#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "match/StepPresenter.h"
#include "sound/CuePlayer.h"
#include "sound/SoundSettings.h"

class AudioOutput;
class AudioSource;
class Mixer;
class SampleBank;

// The game's sound: the cues of every step the driver runs, reconciled under rollback, played
// through the audio device. Muted, or without a device, the cues are still found and logged
// but nothing is heard. Made by the Session for the whole run and given to each scene's
// driver; it must outlive the drivers.
class SoundPresenter : public StepPresenter {
public:
    using Log = std::function<void(const std::string&)>;
    // Opens the system's audio output, playing the mixer; none without the device module.
    using OpenOutput = std::function<std::unique_ptr<AudioOutput>(AudioSource&, const Log&)>;

    // The sounds as read, none when muted. Throws std::runtime_error when the cue log cannot be
    // written.
    SoundPresenter(const SoundSettings& settings, std::unique_ptr<SampleBank> bank, const Log& log,
                   const OpenOutput& openOutput);
    ~SoundPresenter() override;

    void stepRan(int step, const MatchState& before, const MatchState& after) override;
    void silence() override;
    // 0 to 100, from now on.
    void setVolume(int volume);

private:
    void logCue(int step, const char* decision, const SoundCue& cue);

    std::unique_ptr<SampleBank> bank;
    std::unique_ptr<Mixer> mixer;
    std::unique_ptr<AudioOutput> device;
    std::ofstream cueLog;
    CuePlayer player;
};
