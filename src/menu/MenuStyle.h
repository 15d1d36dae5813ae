#pragma once

#include <imgui.h>

// How the menus look: the game's lettering in large type, its colours (the HUD's white
// letters outlined in near-black, the fighters' red headband for what is in focus), no frames.
namespace MenuStyle {

constexpr float headingSize = 52;
constexpr float itemSize = 32;
// The keys' line at the foot of a page.
constexpr float footSize = 17;
// Above the HUD and the lab's lines, below nothing.
constexpr unsigned short zOrder = 400;

// A row of the list, centred in the window.
constexpr float rowWidth = 460;
constexpr float rowHeight = 46;
constexpr float rowGap = 6;
constexpr float headingTop = 48;
constexpr float listTop = 132;
constexpr float textInset = 26;

const ImU32 text = IM_COL32(246, 244, 238, 255);
const ImU32 dimText = IM_COL32(170, 168, 178, 255);
// What is wrong, said on a page.
const ImU32 warningText = IM_COL32(255, 150, 110, 255);
const ImU32 outline = IM_COL32(16, 14, 20, 255);
const ImU32 focusBand = IM_COL32(212, 34, 42, 235);
const ImU32 focusEdge = IM_COL32(255, 214, 90, 255);
const ImU32 field = IM_COL32(40, 36, 48, 255);
// The match behind a menu, dimmed.
const ImVec4 backdrop = ImVec4(16 / 255.0f, 14 / 255.0f, 20 / 255.0f, 0.82f);

// Frameless windows, the colours above, and rows of the sizes above.
void apply(ImGuiStyle& style);

} // namespace MenuStyle
