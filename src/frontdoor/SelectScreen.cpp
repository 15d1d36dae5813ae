#include "frontdoor/SelectScreen.h"

#include <algorithm>
#include <random>

#include "frontdoor/MenuSession.h"
#include "input/StepInput.h"
#include "menu/MenuLayer.h"
#include "menu/MenuPage.h"
#include "menu/MenuStyle.h"

namespace {

constexpr float cardWidth = 150;
constexpr float cardHeight = 190;
constexpr float cardGap = 24;
constexpr float cardsTop = 190;
const ImU32 cardFill = IM_COL32(40, 36, 48, 235);
// The players' colours, as their names on the HUD.
const std::array<ImU32, 2> playerColour = {IM_COL32(212, 34, 42, 255), IM_COL32(60, 120, 230, 255)};

int indexOf(const std::vector<RosterEntry>& entries, const std::string& name) {
    const auto found = std::find_if(entries.begin(), entries.end(),
                                    [&](const RosterEntry& entry) { return entry.name == name; });
    return found == entries.end() ? 0 : static_cast<int>(found - entries.begin());
}

void centredText(ImDrawList* draw, float centreX, float y, const std::string& text, ImU32 colour) {
    const float width = ImGui::CalcTextSize(text.c_str()).x;
    draw->AddText(ImVec2(centreX - width / 2 + 2, y + 2), MenuStyle::outline, text.c_str());
    draw->AddText(ImVec2(centreX - width / 2, y), colour, text.c_str());
}

} // namespace

SelectScreen::SelectScreen(std::vector<RosterEntry> fighters, std::vector<RosterEntry> stages)
    : fighters(std::move(fighters)), stages(std::move(stages)) {}

void SelectScreen::enter(const MenuSession& session) {
    for (int side = 0; side < 2; ++side)
        cursor[side] =
            indexOf(fighters, chooses(session, side) ? session.fighters[side] : session.cpuFighter);
    ready = {false, false};
    heldAcross = {0, 0};
    choosingStage = false;
}

bool SelectScreen::chooses(const MenuSession& session, int side) const {
    return !session.againstComputer() || side != session.cpuPlayer - 1;
}

std::optional<Screen> SelectScreen::step(MenuLayer& layer, MenuSession& session,
                                         const StepInput& players) {
    if (choosingStage)
        return chooseStage(layer, session);
    moveCursors(session, players);
    MenuPage page(layer, "select", "CHOOSE YOUR FIGHTER");
    drawCards(session);
    if (page.back())
        return session.againstComputer() ? Screen::Computer : Screen::Title;
    if ((ready[0] || !chooses(session, 0)) && (ready[1] || !chooses(session, 1))) {
        std::random_device randomDevice;
        for (int side = 0; side < 2; ++side) {
            // The draw only presents: the match is told the fighter drawn, as any other.
            if (!chooses(session, side) && session.cpuFighter.empty())
                cursor[side] = std::uniform_int_distribution<int>(
                    0, static_cast<int>(fighters.size()) - 1)(randomDevice);
            session.fighters[side] = fighters[cursor[side]].name;
        }
        choosingStage = true;
    }
    return std::nullopt;
}

void SelectScreen::moveCursors(const MenuSession& session, const StepInput& players) {
    const int count = static_cast<int>(fighters.size());
    for (int player = 0; player < 2; ++player) {
        const InputFrame& frame = players.players[player];
        // Against the computer either player's keys choose for the side it leaves.
        const int side = session.againstComputer() ? 2 - session.cpuPlayer : player;
        if (!chooses(session, side))
            continue;
        const int across = horizontalOf(frame.direction);
        if (across != 0 && across != heldAcross[player] && !ready[side])
            cursor[side] = (cursor[side] + across + count) % count;
        heldAcross[player] = across;
        if (frame.pressed[0])
            ready[side] = true;
        else if (frame.pressed[1])
            ready[side] = false;
    }
}

// The fighters side by side, each card with its name; each player's cursor a frame of their
// colour with their number above, filled in once confirmed.
void SelectScreen::drawCards(const MenuSession& session) const {
    ImDrawList* draw = ImGui::GetWindowDrawList();
    const float width = ImGui::GetIO().DisplaySize.x;
    const float count = static_cast<float>(fighters.size());
    const float left = (width - count * cardWidth - (count - 1) * cardGap) / 2;
    for (std::size_t i = 0; i < fighters.size(); ++i) {
        const float x = left + static_cast<float>(i) * (cardWidth + cardGap);
        draw->AddRectFilled(ImVec2(x, cardsTop), ImVec2(x + cardWidth, cardsTop + cardHeight),
                            cardFill);
        // The middle half of the picture (157 by 116, the fighter in its middle), above the name.
        if (i < pictures.size() && pictures[i]) {
            const float shown = cardHeight * 0.7f * (157.0f / 2) / 116;
            const float pictureLeft = x + (cardWidth - shown) / 2;
            draw->AddImage(pictures[i], ImVec2(pictureLeft, cardsTop + 6),
                           ImVec2(pictureLeft + shown, cardsTop + 6 + cardHeight * 0.7f),
                           ImVec2(0.25f, 0), ImVec2(0.75f, 1));
        }
        centredText(draw, x + cardWidth / 2, cardsTop + cardHeight - 44, fighters[i].shown,
                    MenuStyle::text);
    }
    for (int side = 0; side < 2; ++side) {
        const bool computer = !chooses(session, side);
        const bool drawn = computer && session.cpuFighter.empty();
        const std::string mark = computer ? "CPU" : "P" + std::to_string(side + 1);
        // Under the cards, each side's fighter as it stands: left for the first player.
        const std::string line =
            drawn ? "CPU: random"
                  : mark + ": " + fighters[cursor[side]].shown + (ready[side] ? "  READY" : "");
        centredText(draw, width * (side == 0 ? 0.27f : 0.73f), cardsTop + cardHeight + 40, line,
                    MenuStyle::text);
        // The computer's random fighter is drawn when the match starts: no card is its yet.
        if (drawn)
            continue;
        const float x = left + static_cast<float>(cursor[side]) * (cardWidth + cardGap);
        const float inset = side == 0 ? 0 : 6;
        draw->AddRect(ImVec2(x + inset, cardsTop + inset),
                      ImVec2(x + cardWidth - inset, cardsTop + cardHeight - inset),
                      playerColour[side], 0, 0, ready[side] ? 10.0f : 4.0f);
        centredText(draw, x + cardWidth * (side == 0 ? 0.3f : 0.7f), cardsTop - 44, mark,
                    playerColour[side]);
    }
    centredText(draw, width / 2, cardsTop + cardHeight + 100,
                "Left, right: choose   Punch: confirm   Kick: undo", MenuStyle::dimText);
}

std::optional<Screen> SelectScreen::chooseStage(MenuLayer& layer, MenuSession& session) {
    MenuPage page(layer, "stage", "CHOOSE THE STAGE");
    for (const RosterEntry& stage : stages)
        if (page.item(stage.shown)) {
            session.stage = stage.name;
            return Screen::Play;
        }
    if (page.back()) {
        choosingStage = false;
        ready = {false, false};
    }
    return std::nullopt;
}
