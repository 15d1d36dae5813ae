// A bindings file's text: refused with a BindingsError, or read into bindings that the file's
// own format writes back as they were.
#include <cstddef>
#include <cstdint>
#include <string>

#include "expect.h"
#include "input/BindingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bindings bindings;
    try {
        bindings =
            BindingsFile::parse(std::string(reinterpret_cast<const char*>(data), size), "fuzz.cfg");
    } catch (const BindingsError&) {
        return 0;
    }
    const std::string written = BindingsFile::format(bindings);
    expect(BindingsFile::format(BindingsFile::parse(written, "written.cfg")) == written,
           "the bindings read back as written");
    return 0;
}
