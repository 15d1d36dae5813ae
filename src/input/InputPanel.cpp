#include "input/InputPanel.h"

#include <algorithm>

namespace {

bool sameInput(const InputFrame& a, const InputFrame& b) {
    return a.direction == b.direction && a.pressed[0] == b.pressed[0] &&
           a.pressed[1] == b.pressed[1];
}

bool isAtRest(const InputFrame& frame) {
    return frame.direction == Direction::Neutral && !frame.pressed[0] && !frame.pressed[1];
}

} // namespace

void InputPanel::setVisible(bool visible) {
    panel.visible = visible;
    if (visible)
        return;
    panel.rowCount = 0;
    panel.visibleFrameCount = 0;
}

void InputPanel::addFrame(InputFrame frame) {
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

void InputPanel::pushRow(const InputFrame& frame) {
    const bool full = panel.rowCount == maxRows;
    std::copy_backward(panel.rows, panel.rows + (full ? maxRows - 1 : panel.rowCount),
                       panel.rows + (full ? maxRows : panel.rowCount + 1));
    panel.rows[0] = {frame, panel.visibleFrameCount};
    if (!full)
        ++panel.rowCount;
}
