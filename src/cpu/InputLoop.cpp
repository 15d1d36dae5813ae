#include "cpu/InputLoop.h"

#include <sstream>

std::optional<InputLoop> InputLoop::parse(const std::string& text) {
    InputLoop loop;
    std::istringstream words(text);
    std::string word;
    while (words >> word) {
        if (word[0] < '1' || word[0] > '9')
            return std::nullopt;
        InputFrame frame;
        frame.direction = static_cast<Direction::eDirection>(word[0] - '1');
        for (std::size_t i = 1; i < word.size(); ++i) {
            if (word[i] != '+' && word[i] != '*')
                return std::nullopt;
            frame.pressed[word[i] == '*'] = true;
        }
        loop.steps.push_back(frame);
    }
    if (loop.steps.empty())
        return std::nullopt;
    return loop;
}

std::string InputLoop::text() const {
    std::string text;
    for (const InputFrame& frame : steps) {
        if (!text.empty())
            text += ' ';
        text += static_cast<char>('1' + frame.direction);
        if (frame.pressed[0])
            text += '+';
        if (frame.pressed[1])
            text += '*';
    }
    return text;
}
