#include "app/DeviceModule.h"

#include <dlfcn.h>

#include "controllers/ControllerInput.h"
#include "sound/AudioOutput.h"

namespace {

std::string lastError() {
    const char* error = dlerror();
    return error ? error : "unknown error";
}

} // namespace

DeviceModule::DeviceModule(const std::string& folder, const Log& log) {
    const std::string path = folder + "/" + fileName;
    const auto refuse = [&](const std::string& reason) {
        log("Devices: the module " + path + " " + reason +
            "; the game plays with the keys alone and without sound");
    };
    // Its own symbols and SDL's stay out of the global scope: see the class comment.
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        refuse("cannot be loaded (" + lastError() + ")");
        return;
    }
    const auto version = reinterpret_cast<int (*)()>(dlsym(module, interfaceSymbol));
    const auto openAudio = reinterpret_cast<OpenAudio>(dlsym(module, openAudioSymbol));
    const auto openControllers =
        reinterpret_cast<OpenControllers>(dlsym(module, openControllersSymbol));
    if (!version || !openAudio || !openControllers) {
        refuse("is not Vorrak's (" + lastError() + ")");
        return;
    }
    if (version() != interfaceVersion) {
        refuse("is from another build of Vorrak (interface " + std::to_string(version()) +
               ", this one " + std::to_string(interfaceVersion) + ")");
        return;
    }
    audio = openAudio;
    controllers = openControllers;
}

std::unique_ptr<AudioOutput> DeviceModule::openAudio(AudioSource& source, const Log& log) const {
    return std::unique_ptr<AudioOutput>(audio ? audio(&source, &log) : nullptr);
}

std::unique_ptr<ControllerInput> DeviceModule::openControllers(const Bindings& bindings,
                                                               const Log& log) const {
    return std::unique_ptr<ControllerInput>(controllers ? controllers(&bindings, &log) : nullptr);
}
