#include "render/InputDataDisplay.h"

#include <algorithm>

#include <Overlay/OgreTextAreaOverlayElement.h>

namespace {

// The letters sit around S on a QWERTY keyboard in the direction they stand for; the
// SpecialChars font draws them as arrows.
const char* const directionGlyph = "zxca dqwe";

char glyphFor(Direction::eDirection direction) {
    if (direction < Direction::DownLeft || direction > Direction::UpRight)
        return ' ';
    return directionGlyph[direction];
}

bool sameRow(const InputPanelRow& a, const InputPanelRow& b) {
    return a.count == b.count && a.frame.inputBits() == b.frame.inputBits();
}

} // namespace

InputDataDisplay::InputDataDisplay(Ogre::TextAreaOverlayElement* textArea) : textArea(textArea) {
    textArea->hide();
}

void InputDataDisplay::show(const InputPanelState& panel) {
    if (panel.visible != visibleShown) {
        visibleShown = panel.visible;
        if (panel.visible)
            textArea->show();
        else
            textArea->hide();
    }
    showRows(panel);
}

void InputDataDisplay::showRows(const InputPanelState& panel) {
    bool same = panel.rowCount == shown.rowCount;
    for (int row = 0; same && row < panel.rowCount; ++row)
        same = sameRow(panel.rows[row], shown.rows[row]);
    if (same)
        return;
    if (onePushed(panel)) {
        pushRow(panel.rows[0], shown.rowCount == maxRows);
    } else {
        std::string text;
        for (int row = 0; row < panel.rowCount; ++row) {
            text += formatRow(panel.rows[row].frame, panel.rows[row].count);
            text += '\n';
        }
        showCaption(std::move(text));
    }
    shown = panel;
}

bool InputDataDisplay::onePushed(const InputPanelState& panel) const {
    const int kept = panel.rowCount - 1;
    if (kept < 0 || panel.rowCount != std::min(shown.rowCount + 1, maxRows))
        return false;
    for (int row = 0; row < kept; ++row)
        if (!sameRow(panel.rows[row + 1], shown.rows[row]))
            return false;
    return true;
}

void InputDataDisplay::pushRow(const InputPanelRow& row, bool full) {
    std::string text = formatRow(row.frame, row.count);
    text += '\n';
    // The oldest row leaves at the bottom: every row ends with its line break.
    if (full) {
        const std::size_t oldestRow = caption.rfind('\n', caption.size() - 2) + 1;
        caption.erase(oldestRow);
        shownCaption.erase(oldestRow);
    }
    caption.insert(0, text);
    shownCaption.insert(0, text.c_str(), text.size());
    textArea->setCaption(shownCaption);
}

std::string InputDataDisplay::formatRow(const InputFrame& frame, int frameCount) {
    std::string row(1, glyphFor(frame.direction));
    row += ' ';
    if (frame.pressed[0])
        row += 'y';
    if (frame.pressed[1])
        row += 'h';
    // The count always starts in the sixth column.
    const int padding = 5 - static_cast<int>(row.size());
    row.append(padding > 0 ? padding : 1, ' ');
    row += std::to_string(frameCount);
    return row;
}

void InputDataDisplay::showCaption(std::string text) {
    if (text == caption)
        return;
    caption = std::move(text);
    shownCaption = caption;
    textArea->setCaption(shownCaption);
}
