#pragma once

#include <array>
#include <string>

#include "match/StepPresenter.h"
#include "sound/CuePlayer.h"
#include "sound/Mixer.h"
#include "sound/SampleBank.h"

// The match's sound mixed off-line, without a device, for the video export: after every step its
// cues start, and the sound of the step's picture is mixed at once, exactly framesPerStep frames
// of it, so the sound of picture n starts with the cues of step n. Owned by the export.
class OfflineMix : public StepPresenter {
public:
    static constexpr int framesPerStep = Mixer::rate / 60;

    // Throws std::runtime_error when a sound cannot be read.
    OfflineMix(const std::string& soundsDir, int volume);

    void stepRan(int step, const MatchState& before, const MatchState& after) override;
    void silence() override { player.silence(); }

    // The last step's sound: left and right interleaved.
    const float* stepSound() const { return mixed.data(); }

private:
    SampleBank bank;
    Mixer mixer;
    CuePlayer player;
    std::array<float, 2 * framesPerStep> mixed{};
};
