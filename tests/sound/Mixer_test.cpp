#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/programDirectory.h"
#include "sound/Mixer.h"
#include "sound/SampleBank.h"

namespace {

// The game's own sounds, copied beside the tests as beside the program.
std::string soundsDir() { return programDirectory() + "/media/sounds"; }

const SampleBank& bank() {
    static const SampleBank loaded(soundsDir());
    return loaded;
}

std::vector<float> mixed(Mixer& mixer, int frames) {
    std::vector<float> out(2 * static_cast<std::size_t>(frames));
    mixer.mix(out.data(), frames);
    return out;
}

float peak(const std::vector<float>& stereo, std::size_t from, std::size_t to, int channel) {
    float top = 0;
    for (std::size_t frame = from; frame < to && frame < stereo.size() / 2; ++frame)
        top = std::max(top, std::abs(stereo[2 * frame + static_cast<std::size_t>(channel)]));
    return top;
}

} // namespace

TEST(SampleBankTest, EverySoundIsShortAndCleanAndStartsAtOnce) {
    for (int sound = 0; sound < SoundCue::soundCount; ++sound) {
        const std::vector<float>& samples = bank().samples(static_cast<SoundCue::Sound>(sound));
        SCOPED_TRACE(SoundCue::name(static_cast<SoundCue::Sound>(sound)));
        ASSERT_GT(samples.size(), 0u);
        EXPECT_LE(samples.size(), static_cast<std::size_t>(SampleBank::rate * 1.2));
        float top = 0;
        std::size_t onset = samples.size();
        for (std::size_t i = 0; i < samples.size(); ++i) {
            top = std::max(top, std::abs(samples[i]));
            if (onset == samples.size() && std::abs(samples[i]) > 0.005f)
                onset = i;
        }
        EXPECT_LT(top, 0.9f) << "peaks at full scale";
        EXPECT_LT(onset, static_cast<std::size_t>(SampleBank::rate / 100)) << "late onset";
        // No click at either end: both fade to silence.
        EXPECT_LT(std::abs(samples.front()), 0.01f);
        EXPECT_LT(std::abs(samples.back()), 0.01f);
    }
}

// At full volume the announcer plays its samples at the middle gain on both sides; a fighter
// is louder on its own side.
TEST(MixerTest, ASoundStartsAtTheNextMixWithItsSamplesOnItsSide) {
    Mixer mixer(bank(), 100);
    mixer.play({SoundCue::Fight, SoundCue::middle}, 1);
    mixer.play({SoundCue::Hit, 0}, 2);
    const std::vector<float> out = mixed(mixer, 512);
    const std::vector<float>& fight = bank().samples(SoundCue::Fight);
    const std::vector<float>& hit = bank().samples(SoundCue::Hit);
    for (std::size_t frame : {0u, 100u, 511u})
        EXPECT_FLOAT_EQ(out[2 * frame + 1], 0.8f * fight[frame] + 0.6f * hit[frame]) << frame;
    EXPECT_EQ(mixer.framesMixed(), 512u);
}

TEST(MixerTest, VolumeIsHeardAsTheSquareOfItsFraction) {
    for (const int volume : {0, 50, 80}) {
        Mixer mixer(bank(), volume);
        mixer.play({SoundCue::KnockOut, SoundCue::middle}, 1);
        const std::vector<float> out = mixed(mixer, 4800);
        const float full = peak({bank().samples(SoundCue::KnockOut).begin(),
                                 bank().samples(SoundCue::KnockOut).begin() + 4800},
                                0, 2400, 0);
        EXPECT_NEAR(peak(out, 0, 4800, 0), full * 0.8f * volume * volume / 10000, 1e-4f) << volume;
    }
}

// Stopped in the middle, a sound fades out within 20 ms and is then gone; stopping a voice that
// is not playing changes nothing.
TEST(MixerTest, AStoppedSoundFadesOutWithin20ms) {
    struct Case {
        const char* what;
        void (*stop)(Mixer&);
        bool silentAfterFade;
    } const cases[] = {
        {"stop", [](Mixer& mixer) { mixer.stop(7); }, true},
        {"stop all", [](Mixer& mixer) { mixer.stopAll(); }, true},
        {"stop another", [](Mixer& mixer) { mixer.stop(8); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Mixer mixer(bank(), 100);
        mixer.play({SoundCue::KnockOut, 0}, 7);
        mixed(mixer, 4800);
        c.stop(mixer);
        const std::vector<float> out = mixed(mixer, 4800);
        EXPECT_GT(peak(out, 0, 100, 0), 0.01f);
        EXPECT_EQ(peak(out, Mixer::fadeFrames, 4800, 0) == 0.0f, c.silentAfterFade);
    }
}
