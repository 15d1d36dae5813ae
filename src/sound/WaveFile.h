#pragma once

#include <string>
#include <vector>

// The sound files' format: RIFF WAVE of 16-bit PCM at 48 kHz, mono, the format the game's
// sounds are made in. What is read is hostile: every chunk's size is checked against what the
// bytes hold. Read by the sample bank.
namespace WaveFile {

constexpr int rate = 48000;

// The samples of a file's bytes, from -1 to 1. Throws std::runtime_error naming the file (path)
// when the bytes are not such a file.
std::vector<float> decode(const std::vector<unsigned char>& bytes, const std::string& path);

} // namespace WaveFile
