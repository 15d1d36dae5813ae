#include "menu/MenuPage.h"

#include <algorithm>
#include <vector>

#include <imgui_internal.h>

#include "menu/MenuLayer.h"
#include "menu/MenuStyle.h"

namespace {

const ImGuiWindowFlags pageFlags = ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoMove |
                                   ImGuiWindowFlags_NoSavedSettings |
                                   ImGuiWindowFlags_NoBringToFrontOnFocus;
const float outlineWidth = 2;

// Space kept between a text and the window's edge.
const float margin = 16;
// Text is made smaller to fit, down to this share of its size; beyond, it is wrapped or
// shortened.
const float smallest = 0.6f;

// White letters outlined in near-black, as the HUD's lettering, in the current font at `size`.
void outlinedText(ImDrawList* draw, ImVec2 at, const std::string& text, ImU32 colour,
                  float size = 0) {
    ImFont* font = ImGui::GetFont();
    if (size <= 0)
        size = ImGui::GetFontSize();
    const char* begin = text.c_str();
    const char* end = begin + text.size();
    for (float dx : {-outlineWidth, 0.0f, outlineWidth})
        for (float dy : {-outlineWidth, 0.0f, outlineWidth})
            if (dx != 0 || dy != 0)
                draw->AddText(font, size, ImVec2(at.x + dx, at.y + dy), MenuStyle::outline, begin,
                              end);
    draw->AddText(font, size, at, colour, begin, end);
}

float textWidth(const std::string& text) { return ImGui::CalcTextSize(text.c_str()).x; }

// The size at which text of this width at the current size fits the width given, no larger.
float fittedSize(float width, float available) {
    const float size = ImGui::GetFontSize();
    return width <= available ? size : std::max(size * smallest, size * available / width);
}

// The text cut at a word (or, for one long word, a letter) so that it ends with "..." within
// the width at the size given.
std::string shortened(const std::string& text, float available, float size) {
    const float scale = size / ImGui::GetFontSize();
    if (textWidth(text) * scale <= available)
        return text;
    std::string kept = text;
    while (!kept.empty() && textWidth(kept + "...") * scale > available)
        kept.pop_back();
    return kept + "...";
}

// The text in lines no wider than the width at the size given, broken between words.
std::vector<std::string> wrapped(const std::string& text, float available, float size) {
    std::vector<std::string> lines;
    const char* begin = text.c_str();
    const char* const end = begin + text.size();
    ImFont* font = ImGui::GetFont();
    while (begin < end) {
        const char* cut = font->CalcWordWrapPositionA(size / font->FontSize, begin, end, available);
        if (cut == begin)
            cut = begin + 1;
        std::string line(begin, cut);
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        lines.push_back(shortened(line, available, size));
        begin = cut;
        while (begin < end && *begin == ' ')
            ++begin;
    }
    return lines;
}

} // namespace

MenuPage::MenuPage(MenuLayer& layer, const char* id, const std::string& heading) : layer(layer) {
    const ImVec2 display = ImGui::GetIO().DisplaySize;
    ImGui::SetNextWindowPos(ImVec2(0, 0));
    ImGui::SetNextWindowSize(display);
    ImGui::Begin(id, nullptr, pageFlags);
    left = (display.x - MenuStyle::rowWidth) / 2;
    ImGui::PushFont(layer.headingFont());
    const ImVec2 origin = ImGui::GetWindowPos();
    const float available = display.x - 2 * margin;
    const float size = fittedSize(textWidth(heading), available);
    const std::string shown = shortened(heading, available, size);
    const float width = textWidth(shown) * size / ImGui::GetFontSize();
    outlinedText(ImGui::GetWindowDrawList(),
                 ImVec2(origin.x + (display.x - width) / 2,
                        origin.y + MenuStyle::headingTop + (ImGui::GetFontSize() - size) / 2),
                 shown, MenuStyle::text, size);
    ImGui::PopFont();
    ImGui::SetCursorPosY(MenuStyle::listTop);
}

MenuPage::~MenuPage() {
    if (!layer.footer().empty())
        footer(layer.footer());
    ImGui::End();
}

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

// Wider than the window, a note is wrapped onto lines of its own, each centred.
void MenuPage::note(const std::string& text) { noteIn(text, MenuStyle::dimText); }

void MenuPage::warning(const std::string& text) { noteIn(text, MenuStyle::warningText); }

void MenuPage::noteIn(const std::string& text, ImU32 colour) {
    const float width = ImGui::GetIO().DisplaySize.x - 2 * margin;
    const float size = fittedSize(textWidth(text), width);
    const std::vector<std::string> lines = wrapped(text, width, size);
    const float lineHeight = size + 4;
    const float height = std::max(MenuStyle::rowHeight, lineHeight * lines.size());
    const ImVec2 at = rowStart();
    ImGui::Dummy(ImVec2(MenuStyle::rowWidth, height));
    const float windowLeft = ImGui::GetWindowPos().x + margin;
    float y = at.y + (height - lineHeight * lines.size()) / 2;
    for (const std::string& line : lines) {
        const float lineWidth = textWidth(line) * size / ImGui::GetFontSize();
        outlinedText(ImGui::GetWindowDrawList(), ImVec2(windowLeft + (width - lineWidth) / 2, y),
                     line, colour, size);
        y += lineHeight;
    }
}

void MenuPage::footer(const std::string& text) {
    const ImVec2 display = ImGui::GetIO().DisplaySize;
    const float width = display.x - 2 * margin;
    const float size = MenuStyle::footSize;
    const std::vector<std::string> lines = wrapped(text, width, size);
    const float lineHeight = size + 3;
    const ImVec2 origin = ImGui::GetWindowPos();
    float y = origin.y + display.y - margin / 2 - lineHeight * lines.size();
    for (const std::string& line : lines) {
        const float lineWidth = textWidth(line) * size / ImGui::GetFontSize();
        outlinedText(ImGui::GetWindowDrawList(),
                     ImVec2(origin.x + (display.x - lineWidth) / 2, y), line, MenuStyle::dimText,
                     size);
        y += lineHeight;
    }
}

bool MenuPage::back() const { return layer.backPressed(); }

// The mouse moved onto the row: it takes the focus, so that one row is marked whatever moves
// it, and the keys go on from there.
bool MenuPage::trackFocus() {
    const ImGuiIO& io = ImGui::GetIO();
    const bool moved = io.MouseDelta.x != 0 || io.MouseDelta.y != 0;
    if ((moved && ImGui::IsItemHovered()) || rows == wantedFocus)
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
    // A label and its value share the row: together too wide, both are made smaller, and the
    // value shortened if need be, so that neither runs into the other.
    const float gap = MenuStyle::textInset;
    const float available = MenuStyle::rowWidth - 2 * MenuStyle::textInset;
    const float wanted = textWidth(label) + (value.empty() ? 0 : gap + textWidth(value));
    const float size = fittedSize(wanted, available);
    const float scale = size / ImGui::GetFontSize();
    const std::string shownLabel = shortened(label, available, size);
    const float labelWidth = textWidth(shownLabel) * scale;
    const float y = min.y + (MenuStyle::rowHeight - size) / 2;
    outlinedText(draw, ImVec2(min.x + MenuStyle::textInset, y), shownLabel, colour, size);
    if (value.empty())
        return;
    const std::string shownValue = shortened(value, available - labelWidth - gap, size);
    outlinedText(draw,
                 ImVec2(max.x - MenuStyle::textInset - textWidth(shownValue) * scale, y),
                 shownValue, colour, size);
}
