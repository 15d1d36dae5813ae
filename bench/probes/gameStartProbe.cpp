// The game's start-up as the program runs it, with the program's own libraries: engine,
// window, resources, sprites, match and scene up to the first picture, whose moment it prints.

#include <Ogre.h>
#include <unistd.h>

#include "app/Application.h"
#include "app/programDirectory.h"
#include "monotonicNow.h"

int main() {
    Application app(programDirectory());
    app.startEngine();
    app.createMatch();
    app.getRoot()->renderOneFrame();
    printMonotonicNow();
    // The teardown is not part of the measure.
    _exit(0);
}
