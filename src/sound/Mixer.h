#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "sound/AudioSource.h"
#include "sound/CueOutput.h"
#include "sound/SpscQueue.h"

class SampleBank;

// Mixes the playing sounds into 48 kHz stereo. The game's thread tells it what to play and stop
// through a lock-free queue of commands; mix runs on the audio thread (or, off-line, on the
// export's), takes the commands and adds up the voices, with neither a lock nor an allocation.
// The fighters are heard a little towards their sides, the announcer in the middle. Owned by
// the sound presenter or the export; the samples are not owned.
class Mixer : public CueOutput, public AudioSource {
public:
    // A stopped sound fades out over 20 ms rather than cut off with a click.
    static constexpr int fadeFrames = rate / 50;
    static constexpr int maxVoices = 32;

    // volume: 0 to 100; heard as the square of its fraction, as loudness goes.
    Mixer(const SampleBank& bank, int volume);

    // The game's thread. A command that finds the queue full is dropped and counted.
    void play(const SoundCue& cue, std::uint32_t voice) override;
    void stop(std::uint32_t voice) override;
    void stopAll() override;
    int dropped() const { return droppedCommands; }
    // From the next mix on.
    void setVolume(int volume);

    // The audio thread: frames of left and right samples, interleaved.
    void mix(float* stereo, int frames) override;
    // Frames mixed so far: where in the output the next command can be heard at the earliest.
    std::uint64_t framesMixed() const { return mixed.load(std::memory_order_acquire); }

private:
    struct Command {
        enum Kind : std::uint8_t { Play, Stop, StopAll } kind = Play;
        SoundCue cue;
        std::uint32_t voice = 0;
    };
    struct Voice {
        const float* samples = nullptr;
        int length = 0;
        int at = 0;
        std::uint32_t id = 0;
        float left = 0, right = 0;
        // Frames of the fade still to go, once stopped.
        int fading = 0;
    };

    void send(const Command& command);
    void apply(const Command& command);
    void start(const Command& command);
    void mixVoice(Voice& voice, float* stereo, int frames);

    const SampleBank& bank;
    std::atomic<float> gain;
    SpscQueue<Command, 256> commands;
    std::array<Voice, maxVoices> voices{};
    std::atomic<std::uint64_t> mixed{0};
    int droppedCommands = 0;
};
