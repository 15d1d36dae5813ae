#pragma once

#include <string>

#include "app/Application.h"

// The real engine, started once per test binary on the display the tests run on: root,
// plug-ins, the 800 by 600 window, the scene manager with the overlay system, "media", the
// quad meshes, the ground, the camera and the viewport: the game's start-up without the
// match. Tests build what they need on top of it and remove it again.
namespace EngineEnvironment {

Application& app();

// Renders one frame, so that overlays and entities are drawn as a player would see them.
void renderFrame();

// Saves what the window shows now as a PNG under the working directory and returns its path.
std::string screenshot(const std::string& name);

} // namespace EngineEnvironment
