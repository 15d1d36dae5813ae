#include "menu/MenuPage.h"

#include <vector>

#include <imgui_internal.h>

#include "menu/MenuLayer.h"
#include "menu/MenuStyle.h"

namespace {

const ImGuiWindowFlags pageFlags = ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove |
                                   ImGuiWindowFlags_NoSavedSettings |
                                   ImGuiWindowFlags_NoBringToFrontOnFocus;
const float outlineWidth = 2;

// White letters outlined in near-black, as the HUD's lettering.
void outlinedText(ImDrawList* draw, ImVec2 at, const std::string& text, ImU32 colour) {
    const char* begin = text.c_str();
    const char* end = begin + text.size();
    for (float dx : {-outlineWidth, 0.0f, outlineWidth})
        for (float dy : {-outlineWidth, 0.0f, outlineWidth})
            if (dx != 0 || dy != 0)
                draw->AddText(ImVec2(at.x + dx, at.y + dy), MenuStyle::outline, begin, end);
    draw->AddText(at, colour, begin, end);
}

float textWidth(const std::string& text) { return ImGui::CalcTextSize(text.c_str()).x; }

} // namespace

MenuPage::MenuPage(MenuLayer& layer, const char* id, const std::string& heading) : layer(layer) {
    const ImVec2 display = ImGui::GetIO().DisplaySize;
    ImGui::SetNextWindowPos(ImVec2(0, 0));
    ImGui::SetNextWindowSize(display);
    ImGui::Begin(id, nullptr, pageFlags);
    left = (display.x - MenuStyle::rowWidth) / 2;
    ImGui::PushFont(layer.headingFont());
    const ImVec2 origin = ImGui::GetWindowPos();
    outlinedText(ImGui::GetWindowDrawList(),
                 ImVec2(origin.x + (display.x - textWidth(heading)) / 2,
                        origin.y + MenuStyle::headingTop),
                 heading, MenuStyle::text);
    ImGui::PopFont();
    ImGui::SetCursorPosY(MenuStyle::listTop);
}

MenuPage::~MenuPage() { ImGui::End(); }

bool MenuPage::item(const std::string& label) {
    ImGui::PushID(rows);
    const ImVec2 row = rowStart();
    const bool chosen =
        ImGui::Selectable("##row", false, 0, ImVec2(MenuStyle::rowWidth, MenuStyle::rowHeight));
    const bool inFocus = trackFocus();
    drawRow(row, label, "", inFocus);
    ImGui::PopID();
    return chosen;
}

int MenuPage::choice(const std::string& label, const std::string& value) {
    ImGui::PushID(rows);
    const ImVec2 row = rowStart();
    const bool chosen =
        ImGui::Selectable("##row", false, 0, ImVec2(MenuStyle::rowWidth, MenuStyle::rowHeight));
    const bool inFocus = trackFocus();
    int change = chosen ? 1 : 0;
    if (inFocus && layer.leftPressed())
        change = -1;
    else if (inFocus && layer.rightPressed())
        change = 1;
    drawRow(row, label, inFocus ? "\u25C0 " + value + " \u25B6" : value, inFocus);
    ImGui::PopID();
    return change;
}

bool MenuPage::textField(const std::string& label, std::string& text, std::size_t maxBytes) {
    ImGui::PushID(rows);
    const ImVec2 row = rowStart();
    const float fieldLeft = MenuStyle::textInset * 2 + textWidth(label);
    std::vector<char> buffer(maxBytes + 1, '\0');
    text.copy(buffer.data(), std::min(text.size(), maxBytes));

    // The field is drawn over its row's band, which is known only once the field has run.
    ImDrawList* draw = ImGui::GetWindowDrawList();
    draw->ChannelsSplit(2);
    draw->ChannelsSetCurrent(1);
    ImGui::SetCursorPosX(left + fieldLeft);
    ImGui::SetNextItemWidth(MenuStyle::rowWidth - fieldLeft - MenuStyle::textInset / 2);
    const bool entered = ImGui::InputText("##field", buffer.data(), buffer.size(),
                                          ImGuiInputTextFlags_EnterReturnsTrue);
    const bool typing = ImGui::IsItemActive();
    const bool inFocus = trackFocus() || typing;
    if (typing) {
        layer.typingNow = true;
        draw->AddRect(ImGui::GetItemRectMin(), ImGui::GetItemRectMax(), MenuStyle::focusEdge, 0,
                      0, 2);
    }
    draw->ChannelsSetCurrent(0);
    drawRow(row, label, "", inFocus);
    draw->ChannelsMerge();
    text = buffer.data();
    ImGui::PopID();
    return entered;
}

void MenuPage::note(const std::string& text) {
    const ImVec2 at = rowStart();
    ImGui::Dummy(ImVec2(MenuStyle::rowWidth, MenuStyle::rowHeight));
    outlinedText(ImGui::GetWindowDrawList(),
                 ImVec2(at.x + (MenuStyle::rowWidth - textWidth(text)) / 2,
                        at.y + (MenuStyle::rowHeight - MenuStyle::itemSize) / 2),
                 text, MenuStyle::dimText);
}

bool MenuPage::back() const { return layer.backPressed(); }

// The mouse moved onto the row: it takes the focus, so that one row is marked whatever moves
// it, and the keys go on from there.
bool MenuPage::trackFocus() {
    const ImGuiIO& io = ImGui::GetIO();
    const bool moved = io.MouseDelta.x != 0 || io.MouseDelta.y != 0;
    if (moved && ImGui::IsItemHovered())
        ImGui::SetFocusID(ImGui::GetItemID(), ImGui::GetCurrentWindow());
    const bool inFocus = ImGui::IsItemFocused();
    if (inFocus)
        focusedRow = rows;
    ++rows;
    return inFocus;
}

ImVec2 MenuPage::rowStart() const {
    ImGui::SetCursorPosX(left);
    return ImGui::GetCursorScreenPos();
}

// The row's own rectangle: a selectable's reaches into the gaps around it.
void MenuPage::drawRow(ImVec2 min, const std::string& label, const std::string& value,
                       bool inFocus) {
    const ImVec2 max(min.x + MenuStyle::rowWidth, min.y + MenuStyle::rowHeight);
    ImDrawList* draw = ImGui::GetWindowDrawList();
    if (inFocus) {
        draw->AddRectFilled(min, max, MenuStyle::focusBand);
        draw->AddRectFilled(min, ImVec2(min.x + 6, max.y), MenuStyle::focusEdge);
    }
    const ImU32 colour = inFocus ? MenuStyle::text : MenuStyle::dimText;
    const float y = min.y + (MenuStyle::rowHeight - MenuStyle::itemSize) / 2;
    outlinedText(draw, ImVec2(min.x + MenuStyle::textInset, y), label, colour);
    if (!value.empty())
        outlinedText(draw, ImVec2(max.x - MenuStyle::textInset - textWidth(value), y), value,
                     colour);
}
