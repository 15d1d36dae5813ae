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

bool sameInput(const InputFrame& a, const InputFrame& b) {
    return a.direction == b.direction && a.pressed[0] == b.pressed[0] &&
           a.pressed[1] == b.pressed[1];
}

bool isAtRest(const InputFrame& frame) {
    return frame.direction == Direction::Neutral && !frame.pressed[0] && !frame.pressed[1];
}

} // namespace

InputDataDisplay::InputDataDisplay(Ogre::TextAreaOverlayElement* textArea) : textArea(textArea) {}

void InputDataDisplay::setVisible(bool visible) {
    panel.visible = visible;
    if (!visible) {
        panel.rowCount = 0;
        panel.visibleFrameCount = 0;
    }
    if (held)
        return;
    if (visible) {
        textArea->show();
        return;
    }
    textArea->hide();
    showCaption("");
}

void InputDataDisplay::addFrame(InputFrame frame) {
    if (!panel.visible)
        return;
    ++panel.visibleFrameCount;
    if (sameInput(frame, panel.lastFrame))
        return;
    panel.lastFrame = frame;
    if (isAtRest(frame))
        return;
    pushRow(frame);
}

void InputDataDisplay::pushRow(const InputFrame& frame) {
    const bool full = panel.rowCount == maxRows;
    std::copy_backward(panel.rows, panel.rows + (full ? maxRows - 1 : panel.rowCount),
                       panel.rows + (full ? maxRows : panel.rowCount + 1));
    panel.rows[0] = {frame, panel.visibleFrameCount};
    if (!full)
        ++panel.rowCount;
    if (held)
        return;

    std::string text = formatRow(frame, panel.visibleFrameCount);
    text += '\n';
    // The oldest row leaves at the bottom: every row ends with its line break.
    if (full)
        caption.erase(caption.rfind('\n', caption.size() - 2) + 1);
    text += caption;
    showCaption(std::move(text));
}

void InputDataDisplay::refresh() {
    std::string text;
    for (int row = 0; row < panel.rowCount; ++row) {
        text += formatRow(panel.rows[row].frame, panel.rows[row].count);
        text += '\n';
    }
    showCaption(std::move(text));
    if (panel.visible)
        textArea->show();
    else
        textArea->hide();
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
    textArea->setCaption(caption);
}
