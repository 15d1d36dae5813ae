#pragma once

#include <string>

#include <OgreMaterial.h>

// A material of one flat colour for overlay panels, made on first use and found by its name
// later. Overlays draw unlit, so the colour comes from a texture of one pixel of it; its alpha
// is the opacity. The engine's material manager owns it.
Ogre::MaterialPtr flatMaterial(const std::string& name, const Ogre::ColourValue& colour);
