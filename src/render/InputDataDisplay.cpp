#include "render/InputDataDisplay.h"

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
    this->visible = visible;
    if (visible) {
        textArea->show();
        return;
    }
    textArea->hide();
    rows.clear();
    textArea->setCaption("");
    visibleFrameCount = 0;
}

void InputDataDisplay::addFrame(InputFrame frame) {
    if (!visible)
        return;
    ++visibleFrameCount;
    if (sameInput(frame, lastFrame))
        return;
    lastFrame = frame;
    if (isAtRest(frame))
        return;

    if (rows.size() == maxRows)
        rows.pop_back();
    rows.push_front(formatRow(frame, visibleFrameCount));
    updateCaption();
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

void InputDataDisplay::updateCaption() {
    std::string caption;
    for (const std::string& row : rows) {
        caption += row;
        caption += '\n';
    }
    textArea->setCaption(caption);
}
