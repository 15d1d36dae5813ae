#pragma once

// A font of the system's DejaVu family, for lines of text beyond the HUD's own font (which has
// digits and arrows only). Made on first use in a resource group named after it; later uses
// find it there. The engine's font manager owns it.
namespace SystemFont {

// source is a file of the DejaVu folder, such as "DejaVuSansMono.ttf"; the font is named name,
// in a resource group of the same name, with the printable ASCII characters.
void require(const char* name, const char* source, int size);

} // namespace SystemFont
