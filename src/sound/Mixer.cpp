#include "sound/Mixer.h"

#include <algorithm>

#include "sound/SampleBank.h"

namespace {

// Each fighter is heard from its side; the far channel a little softer.
constexpr float nearGain = 1.0f;
constexpr float farGain = 0.6f;
constexpr float middleGain = 0.8f;

} // namespace

namespace {

float gainOf(int volume) { return static_cast<float>(volume * volume) / 10000.0f; }

} // namespace

Mixer::Mixer(const SampleBank& bank, int volume) : bank(bank), gain(gainOf(volume)) {}

void Mixer::setVolume(int volume) { gain.store(gainOf(volume), std::memory_order_relaxed); }

void Mixer::play(const SoundCue& cue, std::uint32_t voice) { send({Command::Play, cue, voice}); }

void Mixer::stop(std::uint32_t voice) { send({Command::Stop, SoundCue{}, voice}); }

void Mixer::stopAll() { send({Command::StopAll, SoundCue{}, 0}); }

void Mixer::send(const Command& command) {
    if (!commands.push(command))
        ++droppedCommands;
}

void Mixer::mix(float* stereo, int frames) {
    Command command;
    while (commands.pop(command))
        apply(command);
    std::fill(stereo, stereo + 2 * frames, 0.0f);
    for (Voice& voice : voices)
        if (voice.samples)
            mixVoice(voice, stereo, frames);
    for (int i = 0; i < 2 * frames; ++i)
        stereo[i] = std::clamp(stereo[i], -1.0f, 1.0f);
    mixed.fetch_add(static_cast<std::uint64_t>(frames), std::memory_order_release);
}

void Mixer::apply(const Command& command) {
    if (command.kind == Command::Play)
        return start(command);
    for (Voice& voice : voices)
        if (voice.samples && voice.fading == 0 &&
            (command.kind == Command::StopAll || voice.id == command.voice))
            voice.fading = fadeFrames;
}

// With every voice taken, the one nearest its end gives way.
void Mixer::start(const Command& command) {
    Voice* slot = &voices[0];
    for (Voice& voice : voices) {
        if (!voice.samples) {
            slot = &voice;
            break;
        }
        if (voice.length - voice.at < slot->length - slot->at)
            slot = &voice;
    }
    const std::vector<float>& samples = bank.samples(command.cue.sound);
    const int side = command.cue.side;
    *slot = Voice{samples.data(), static_cast<int>(samples.size()), 0, command.voice,
                  gain * (side == SoundCue::middle ? middleGain : side == 0 ? nearGain : farGain),
                  gain * (side == SoundCue::middle ? middleGain : side == 1 ? nearGain : farGain),
                  0};
}

void Mixer::mixVoice(Voice& voice, float* stereo, int frames) {
    const int count = std::min(frames, voice.length - voice.at);
    for (int i = 0; i < count; ++i) {
        float sample = voice.samples[voice.at + i];
        if (voice.fading > 0) {
            sample *= static_cast<float>(voice.fading) / fadeFrames;
            if (--voice.fading == 0) {
                voice.at = voice.length;
                break;
            }
        }
        stereo[2 * i] += sample * voice.left;
        stereo[2 * i + 1] += sample * voice.right;
    }
    voice.at = std::min(voice.length, voice.at + count);
    if (voice.at >= voice.length)
        voice = Voice{};
}
