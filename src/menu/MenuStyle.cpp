#include "menu/MenuStyle.h"

#include <initializer_list>

void MenuStyle::apply(ImGuiStyle& style) {
    style.WindowPadding = ImVec2(0, 0);
    style.WindowBorderSize = 0;
    style.WindowRounding = 0;
    style.FrameBorderSize = 0;
    style.FrameRounding = 0;
    style.FramePadding = ImVec2(10, (rowHeight - itemSize) / 2);
    style.ItemSpacing = ImVec2(0, rowGap);
    style.ScrollbarSize = 0;
    ImVec4* colours = style.Colors;
    colours[ImGuiCol_Text] = ImGui::ColorConvertU32ToFloat4(text);
    colours[ImGuiCol_WindowBg] = backdrop;
    colours[ImGuiCol_FrameBg] = ImGui::ColorConvertU32ToFloat4(field);
    colours[ImGuiCol_FrameBgHovered] = colours[ImGuiCol_FrameBg];
    colours[ImGuiCol_FrameBgActive] = colours[ImGuiCol_FrameBg];
    colours[ImGuiCol_TextSelectedBg] = ImGui::ColorConvertU32ToFloat4(focusBand);
    // The rows draw their own focus: ImGui's own marks stay invisible.
    for (ImGuiCol_ own : {ImGuiCol_Header, ImGuiCol_HeaderHovered, ImGuiCol_HeaderActive,
                          ImGuiCol_NavHighlight, ImGuiCol_Border})
        colours[own] = ImVec4(0, 0, 0, 0);
}
