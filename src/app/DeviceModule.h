#pragma once

#include <functional>
#include <memory>
#include <string>

class AudioOutput;
class AudioSource;
class ControllerInput;
struct Bindings;

// The game controllers and the audio output, through SDL, live in a module of their own beside
// the program: SDL brings some forty libraries (sound servers, Wayland, D-Bus). Opened off the
// engine's thread once the engine's plug-ins are loaded, they neither delay the program's start
// nor lengthen the symbol lookups of the many libraries the engine loads. One C function tells
// the version of the interfaces the module was built with, two make the devices. Without the
// module the game plays with the keys alone and silently, and the log says why. Made by the
// start-up's tasks; never closed, since the devices' code lives in it.
class DeviceModule {
public:
    using Log = std::function<void(const std::string&)>;

    static constexpr const char* fileName = "vorrak-devices.so";
    // Raised whenever AudioOutput, ControllerInput or the entry points below change.
    static constexpr int interfaceVersion = 1;
    static constexpr const char* interfaceSymbol = "vorrakDevicesInterface";
    static constexpr const char* openAudioSymbol = "vorrakOpenAudio";
    static constexpr const char* openControllersSymbol = "vorrakOpenControllers";

    DeviceModule(const std::string& folder, const Log& log);

    // Null without the module.
    std::unique_ptr<AudioOutput> openAudio(AudioSource& source, const Log& log) const;
    std::unique_ptr<ControllerInput> openControllers(const Bindings& bindings,
                                                     const Log& log) const;

private:
    using OpenAudio = AudioOutput* (*)(AudioSource* source, const Log* log);
    using OpenControllers = ControllerInput* (*)(const Bindings* bindings, const Log* log);

    OpenAudio audio = nullptr;
    OpenControllers controllers = nullptr;
};
