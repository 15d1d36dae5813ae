// A settings file's text: refused with a SettingsError, or read into settings that the file's
// own format writes back as they were.
#include <cstddef>
#include <cstdint>
#include <string>

#include "expect.h"
#include "settings/SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Settings settings;
    try {
        settings = SettingsFile::parse(std::string(reinterpret_cast<const char*>(data), size),
                                       "fuzz.cfg");
    } catch (const SettingsError&) {
        return 0;
    }
    expect(SettingsFile::parse(SettingsFile::format(settings), "written.cfg") == settings,
           "the settings read back as written");
    return 0;
}
