#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "app/programDirectory.h"
#include "sound/SampleBank.h"

namespace {

std::string littleEndian(std::uint32_t value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>(value >> (8 * i) & 0xff);
    return out;
}

std::string chunk(const std::string& id, const std::string& body) {
    return id + littleEndian(static_cast<std::uint32_t>(body.size()), 4) + body;
}

std::string format(std::uint32_t rate, int channels, int bits) {
    return chunk("fmt ",
                 littleEndian(1, 2) + littleEndian(static_cast<std::uint32_t>(channels), 2) +
                     littleEndian(rate, 4) + littleEndian(rate * 2, 4) + littleEndian(2, 2) +
                     littleEndian(static_cast<std::uint32_t>(bits), 2));
}

std::string wave(const std::string& chunks) {
    return "RIFF" + littleEndian(static_cast<std::uint32_t>(4 + chunks.size()), 4) + "WAVE" +
           chunks;
}

// The report on a copy of the game's sounds whose hit is `bytes`, or "" when it reads.
std::string reportWithHit(const std::string& bytes) {
    char pattern[] = "/tmp/vorrak-sounds-XXXXXX";
    const std::string dir = mkdtemp(pattern);
    std::system(("cp " + programDirectory() + "/media/sounds/*.wav '" + dir + "'").c_str());
    std::ofstream(dir + "/hit.wav", std::ios::binary | std::ios::trunc) << bytes;
    std::string report;
    try {
        const SampleBank bank(dir);
    } catch (const std::exception& e) {
        report = e.what();
    }
    std::system(("rm -rf '" + dir + "'").c_str());
    return report;
}

} // namespace

TEST(SampleBankTest, ReadsSixteenBitMonoAt48kHzAndNamesWhatItRefuses) {
    const std::string samples = littleEndian(0x8000, 2) + littleEndian(0x7fff, 2);
    const std::pair<std::string, const char*> cases[] = {
        {wave(format(48000, 1, 16) + chunk("LIST", "odd") + std::string(1, 0) +
              chunk("data", samples)),
         ""},
        {"not a sound at all", "it is not a WAVE file"},
        {wave(format(48000, 1, 16) + "data" + littleEndian(1000, 4) + samples), "it is cut short"},
        {wave(format(44100, 1, 16) + chunk("data", samples)), "is not 48 kHz mono 16-bit"},
        {wave(format(48000, 2, 16) + chunk("data", samples)), "is not 48 kHz mono 16-bit"},
        {wave(chunk("data", samples) + format(48000, 1, 16)), "samples come before their format"},
        {wave(format(48000, 1, 16)), "it has no samples"},
    };
    for (const auto& [bytes, report] : cases) {
        const std::string got = reportWithHit(bytes);
        if (*report == '\0')
            EXPECT_EQ(got, "");
        else
            EXPECT_NE(got.find(report), std::string::npos) << got;
    }
}
