// A sound file's bytes: refused with one line, or read into samples, every one from -1 to 1.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "expect.h"
#include "sound/WaveFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<float> samples;
    try {
        samples = WaveFile::decode(std::vector<unsigned char>(data, data + size), "fuzz.wav");
    } catch (const std::runtime_error&) {
        return 0;
    }
    expect(samples.size() * 2 <= size, "no more samples than bytes hold");
    for (float sample : samples)
        expect(sample >= -1 && sample < 1, "every sample is in range");
    return 0;
}
