#include "export/ExportModule.h"

#include <dlfcn.h>

#include "export/ExportError.h"
#include "export/VideoEncoder.h"

namespace {

std::string lastError() {
    const char* error = dlerror();
    return error ? error : "unknown error";
}

} // namespace

ExportModule::ExportModule(const std::string& folder, const std::string& video) {
    const std::string path = folder + "/" + fileName;
    const auto refuse = [&](const std::string& reason) {
        return ExportError("Cannot export to '" + video + "': the export module " + path + " " +
                           reason);
    };
    // Never closed: see the class comment.
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module)
        throw refuse("cannot be loaded (" + lastError() + ")");
    const auto version = reinterpret_cast<int (*)()>(dlsym(module, interfaceSymbol));
    create = reinterpret_cast<Create>(dlsym(module, createSymbol));
    if (!version || !create)
        throw refuse("is not Vorrak's (" + lastError() + ")");
    if (version() != VideoEncoder::interfaceVersion)
        throw refuse("is from another build of Vorrak (interface " + std::to_string(version()) +
                     ", this one " + std::to_string(VideoEncoder::interfaceVersion) + ")");
}

std::unique_ptr<VideoEncoder> ExportModule::createEncoder(const std::string& path, int width,
                                                          int height, bool withAudio) const {
    return std::unique_ptr<VideoEncoder>(create(path.c_str(), width, height, withAudio));
}
