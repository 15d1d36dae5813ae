#include "app/XErrorHandlers.h"

#include <cstdio>
#include <string>

#include <X11/Xlib.h>

#include "app/FatalReport.h"

namespace {

int reportProtocolError(Display* display, XErrorEvent* error) {
    char description[256] = "";
    XGetErrorText(display, error->error_code, description, sizeof(description));
    char request[256] = "";
    const std::string requestCode = std::to_string(error->request_code);
    XGetErrorDatabaseText(display, "XRequest", requestCode.c_str(), requestCode.c_str(), request,
                          sizeof(request));
    char resource[32];
    std::snprintf(resource, sizeof(resource), "0x%lx", error->resourceid);
    FatalReport::printAndExit(std::string("X error: ") + description + " (request " + request +
                              ", resource " + resource + ") on the display '" +
                              DisplayString(display) +
                              "': the game's window or display is gone or broken");
}

// Xlib ends the process itself if this returns, so it never does.
int reportLostConnection(Display* display) {
    FatalReport::printAndExit(std::string("The connection to the X display '") +
                              DisplayString(display) +
                              "' was lost: the display server ended or closed the game's "
                              "connection");
}

} // namespace

void XErrorHandlers::install() {
    XSetErrorHandler(reportProtocolError);
    XSetIOErrorHandler(reportLostConnection);
}
