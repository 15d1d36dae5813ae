// The device module's entry points, found by name by DeviceModule. Built into the module only.

#include "app/DeviceModule.h"
#include "controllers/Controllers.h"
#include "sound/SoundDevice.h"

extern "C" {

int vorrakDevicesInterface() {
    return DeviceModule::interfaceVersion;
}

AudioOutput* vorrakOpenAudio(AudioSource* source, const DeviceModule::Log* log) {
    return new SoundDevice(*source, *log);
}

ControllerInput* vorrakOpenControllers(const Bindings* bindings, const DeviceModule::Log* log) {
    return new Controllers(*bindings, *log);
}
}
