// The export module's entry points, found by name by ExportModule. Built into the module only.

#include "export/VideoEncoder.h"

extern "C" {

int vorrakExportInterface() { return VideoEncoder::interfaceVersion; }

// Throws ExportError as the constructor does: the program and the module share one C++ runtime.
VideoEncoder* vorrakCreateVideoEncoder(const char* path, int width, int height, bool withAudio) {
    return new VideoEncoder(path, width, height, withAudio);
}
}
