#include <climits>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <string>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include "app/ResourceFileCheck.h"

using namespace std::string_literals;

namespace {

class ResourceFileCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/vorrak-check-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }

    std::string file(const std::string& name, std::size_t bytes) {
        const std::string path = dir + "/" + name;
        std::ofstream(path) << std::string(bytes, 'x');
        return path;
    }

    // The text of the report, or "" when the check passes.
    static std::string reportOf(const std::function<void()>& check) {
        try {
            check();
        } catch (const std::exception& e) {
            return e.what();
        }
        return "";
    }

    std::string dir;
};

TEST_F(ResourceFileCheckTest, TheMediaFolderHoldsOnlyRegularFilesAndFolders) {
    file("Sprite.material", 10);
    ASSERT_EQ(mkdir((dir + "/sub").c_str(), 0700), 0);
    EXPECT_EQ(reportOf([&] { ResourceFileCheck::requireMediaFolder(dir); }), "");

    ASSERT_EQ(mkfifo((dir + "/Idle1.png").c_str(), 0600), 0);
    const std::string report = reportOf([&] { ResourceFileCheck::requireMediaFolder(dir); });
    EXPECT_NE(report.find(dir + "/Idle1.png' is a FIFO"), std::string::npos) << report;
}

// The engine's script compiler overflows its stack on deep nesting: refused before it parses.
TEST_F(ResourceFileCheckTest, ScriptsAreRefusedBeyondTheirSizeAndDepthLimits) {
    const auto nested = [](int depth) { return std::string(depth, '{') + std::string(depth, '}'); };
    const std::pair<std::string, const char*> cases[] = {
        {"material M { technique { pass { texture_unit { texture a.png } } } }", ""},
        {nested(64), ""},
        {nested(65), "more than 64 deep"},
        {std::string(50000, '{'), "more than 64 deep"},
        {"// " + std::string(100, '{') + "\n/* " + std::string(100, '{') + " */ \"{{{{\"", ""},
        {std::string(4 * 1024 * 1024 + 1, ' '), "at most 4 MiB"},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text.substr(0, 60));
        std::ofstream(dir + "/zz.material") << text;
        const std::string report = reportOf([&] { ResourceFileCheck::requireMediaFolder(dir); });
        if (*expected == '\0') {
            EXPECT_EQ(report, "");
            continue;
        }
        EXPECT_NE(report.find(dir + "/zz.material' "), std::string::npos) << report;
        EXPECT_NE(report.find(expected), std::string::npos) << report;
    }
    // Only scripts are read as scripts.
    std::ofstream(dir + "/zz.material").close();
    std::ofstream(dir + "/notes.txt") << std::string(100, '{');
    EXPECT_EQ(reportOf([&] { ResourceFileCheck::requireMediaFolder(dir); }), "");
}

// The engine's image decoder ignores check values and may never return on a damaged image:
// every byte changed and every cut is refused before it decodes.
TEST_F(ResourceFileCheckTest, APngImageMustBeWhole) {
    const auto chunk = [](const std::string& type, const std::string& data) {
        std::string bytes;
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes += static_cast<char>(data.size() >> shift);
        bytes += type + data;
        const auto* typed = reinterpret_cast<const Bytef*>(bytes.data() + 4);
        const uLong crc = crc32(0, typed, static_cast<uInt>(type.size() + data.size()));
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes += static_cast<char>(crc >> shift);
        return bytes;
    };
    const auto word = [](std::uint32_t value) {
        return std::string{static_cast<char>(value >> 24), static_cast<char>(value >> 16),
                           static_cast<char>(value >> 8), static_cast<char>(value)};
    };
    // A 2 by 2 RGBA image of the given width; its pixel rows (a filter byte each) compressed.
    const auto pngOf = [&](std::uint32_t width, std::size_t keptPixelBytes) {
        const std::string rows(2 * (1 + 4 * width), '\0');
        std::string pixels(compressBound(rows.size()), '\0');
        uLongf size = pixels.size();
        compress(reinterpret_cast<Bytef*>(pixels.data()), &size,
                 reinterpret_cast<const Bytef*>(rows.data()), rows.size());
        pixels.resize(std::min<std::size_t>(size, keptPixelBytes));
        return "\x89PNG\r\n\x1a\n" + chunk("IHDR", word(width) + word(2) + "\x08\x06\0\0\0"s) +
               chunk("IDAT", pixels) + chunk("IEND", "");
    };
    const std::string png = pngOf(2, 1000);
    const auto reportFor = [&](const std::string& bytes) {
        std::ofstream(dir + "/Idle1.png", std::ios::binary) << bytes;
        return reportOf([&] { ResourceFileCheck::requireMediaFolder(dir); });
    };
    EXPECT_EQ(reportFor(png), "");
    for (std::size_t at = 0; at < png.size(); ++at) {
        std::string flipped = png;
        flipped[at] = static_cast<char>(flipped[at] ^ 0x10);
        EXPECT_NE(reportFor(flipped).find("Idle1.png' is damaged"), std::string::npos) << at;
        EXPECT_NE(reportFor(png.substr(0, at)).find("is damaged"), std::string::npos) << at;
    }
    EXPECT_EQ(reportFor(png + "trailing bytes no decoder reads"), "");
    // Check values made to fit: only decoding sees what is wrong.
    EXPECT_NE(reportFor(pngOf(2, 6)).find("does not decode"), std::string::npos);
    EXPECT_NE(reportFor(pngOf(16385, 1000)).find("does not decode"), std::string::npos);
}

// The engine's script compiler follows imports round a cycle until its stack overflows.
TEST_F(ResourceFileCheckTest, ScriptsThatImportThemselvesInACycleAreNamed) {
    const std::pair<std::map<std::string, std::string>, const char*> cases[] = {
        {{{"A.material", "import * from \"B.material\""}, {"B.material", "import X from C.material"}},
         ""},
        {{{"A.material", "// import * from \"A.material\"\nmaterial A {}"}}, ""},
        {{{"Self.material", "import * from \"Self.material\"\n"}}, "Self.material' imports itself"},
        {{{"A.material", "import * from \"B.material\""}, {"B.material", "import M from \"A.material\""}},
         "import each other in a cycle: A.material imports B.material, which imports A.material"},
        {{{"A.material", "import * from \"B.material\""}, {"B.material", "import * from \"C.program\""},
          {"C.program", "import * from \"B.material\""}},
         "B.material imports C.program, which imports B.material"},
    };
    for (const auto& [scripts, expected] : cases) {
        std::system(("rm -f '" + dir + "'/*").c_str());
        for (const auto& [name, text] : scripts)
            std::ofstream(dir + "/" + name) << text;
        const std::string report = reportOf([&] { ResourceFileCheck::requireMediaFolder(dir); });
        if (*expected == '\0')
            EXPECT_EQ(report, "");
        else
            EXPECT_NE(report.find(expected), std::string::npos) << report;
    }
}

TEST_F(ResourceFileCheckTest, AMediaPathBeyondTheSystemLimitIsNamedTooLong) {
    // Folder and file name each fit, their path does not.
    std::string folder = dir;
    while (folder.size() + 200 < PATH_MAX - 20) {
        folder += "/" + std::string(200, 'd');
        ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    }
    ASSERT_EQ(chdir(folder.c_str()), 0);
    std::ofstream(std::string(100, 'f')) << "x";
    ASSERT_EQ(chdir("/"), 0);
    const std::string report = reportOf([&] { ResourceFileCheck::requireMediaFolder(folder); });
    EXPECT_NE(report.find("is too long"), std::string::npos) << report;
}

} // namespace
